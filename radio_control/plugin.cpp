// Entry point of the radio control plug-in.
