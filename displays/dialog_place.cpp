#include "displays/dialog_place.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

void CentreOnScreen(QWidget& dialog)
{
    dialog.adjustSize();
    if (QScreen* screen = QGuiApplication::primaryScreen())
        dialog.move(screen->availableGeometry().center() - dialog.rect().center());
}
