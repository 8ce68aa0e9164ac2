#include "core/macros/macrobutton.h"

#include "platform/vb/units.h"
#include "platform/widgets/picturebox.h"

#include <QMouseEvent>

MacroButton::MacroButton(int index, QWidget* parent)
    : QPushButton(parent), index_(index)
{
    setObjectName(QStringLiteral("Command1(%1)").arg(index));
    setFocusPolicy(Qt::NoFocus);
    setMinimumWidth(10);
    apply(normal_);
    connect(this, &QPushButton::clicked, this, [this] {
        if (!inMouseRelease_ && onMouseUp)
            onMouseUp(index_, 1, 0);
    });
}

void MacroButton::setLooks(const ButtonLook& normal, const ButtonLook& mouseOver)
{
    normal_ = normal;
    over_ = mouseOver;
    apply(underMouse() ? over_ : normal_);
}

void MacroButton::apply(const ButtonLook& look)
{
    QFont f(look.fontName);
    f.setPointSize(look.fontSize > 0 ? look.fontSize : 8);
    f.setBold(look.bold);
    f.setItalic(look.italic);
    setFont(f);
    const std::int32_t pressed = pressedFore_ >= 0 ? pressedFore_ : look.foreColor;
    setStyleSheet(QStringLiteral("QPushButton{background-color:%1;color:%2;border:1px solid #808080;padding:1px;}"
                                 "QPushButton:pressed{color:%3;}")
                      .arg(rgb::toColor(look.backColor).name(), rgb::toColor(look.foreColor).name(),
                           rgb::toColor(pressed).name()));
}

void MacroButton::setPressedForeColor(std::int32_t rgbNumber)
{
    pressedFore_ = rgbNumber;
    apply(underMouse() ? over_ : normal_);
}

void MacroButton::mousePressEvent(QMouseEvent* e)
{
    if (onMouseDown)
        onMouseDown(index_, vbButton(e->button()), vbShift(e->modifiers()));
    QPushButton::mousePressEvent(e);
    e->accept(); // every button's release comes back here, not only the left one's
}

void MacroButton::enterEvent(QEnterEvent* e)
{
    apply(over_);
    QPushButton::enterEvent(e);
}

void MacroButton::leaveEvent(QEvent* e)
{
    apply(normal_);
    QPushButton::leaveEvent(e);
}

void MacroButton::mouseReleaseEvent(QMouseEvent* e)
{
    inMouseRelease_ = true;
    QPushButton::mouseReleaseEvent(e);
    inMouseRelease_ = false;
    if (onMouseUp && rect().contains(e->position().toPoint()))
        onMouseUp(index_, vbButton(e->button()), vbShift(e->modifiers()));
}
