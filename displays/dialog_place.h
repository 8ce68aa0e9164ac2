#pragma once
// Settings dialogs open in the middle of the screen.
class QWidget;

void CentreOnScreen(QWidget& dialog);
