#pragma once
// Settings dialogs open in the middle of the screen, fitted to it.
#include "platform/widgets/screen_fit.h"
