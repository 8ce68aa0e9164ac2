#include "core/transmit/labelcolors.h"

#include "platform/vb/units.h"

#include <QPalette>
#include <QWidget>

namespace labelcolor {

void setFore(QWidget* label, std::int32_t rgbNumber)
{
    QPalette p = label->palette();
    p.setColor(QPalette::WindowText, rgb::toColor(rgbNumber));
    label->setPalette(p);
}

void setBack(QWidget* label, std::int32_t rgbNumber)
{
    QPalette p = label->palette();
    p.setColor(QPalette::Window, rgb::toColor(rgbNumber));
    label->setPalette(p);
    label->setAutoFillBackground(true);
}

std::int32_t fore(const QWidget* label)
{
    return rgb::fromColor(label->palette().color(QPalette::WindowText));
}

std::int32_t back(const QWidget* label)
{
    return rgb::fromColor(label->palette().color(QPalette::Window));
}

} // namespace labelcolor
