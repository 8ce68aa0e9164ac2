#pragma once
// The receive capture file: everything received in the main receive window is written to it,
// byte for byte, while it is open (CaptureFileOpen). The File menu opens and closes it.
#include <QByteArray>
#include <QString>

#include "platform/vb/vberror.h"

// Opens the file for writing at its end, creating it when missing; sets CaptureFileOpen.
bool OpenCaptureFile(const QString& path, VbError* error = nullptr);
// Writes the bytes at the file's end at once (nothing is held back in a buffer).
bool WriteCaptureFile(const QByteArray& bytes, VbError* error = nullptr);
// Closes the file, if one is open, and clears CaptureFileOpen.
void CloseCaptureFile();

// File: asks for a capture file and starts capturing the main receive window into it.
void mnuOutput_Click();
// File: stops capturing.
void mnuOutputClose_Click();
// Stops capturing after a write failure: the file is closed, the operator is told once, and
// "Open receive text file" can be used again.
void CaptureFailed(const QString& errorText);
