#pragma once
#include <QPixmap>

// The program's logo, drawn at the given size: a waterfall trace under a signal peak.
QPixmap SondrelLogo(int size);
