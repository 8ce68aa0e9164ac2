#include "platform/widgets/picturebox.h"

#include "platform/vb/units.h"

#include <QMouseEvent>
#include <QPainter>

PictureBox::PictureBox(QWidget* parent, const QString& name)
    : QWidget(parent)
{
    setObjectName(name);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    image_ = QImage(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    image_.fill(back_);
}

void PictureBox::setBackColor(const QColor& c)
{
    back_ = c;
    Cls();
}

void PictureBox::Cls()
{
    image_.fill(back_);
    update();
}

double PictureBox::ScaleWidth() const
{
    return twips::fromPixels(width());
}

double PictureBox::ScaleHeight() const
{
    return twips::fromPixels(height());
}

void PictureBox::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawImage(0, 0, image_);
}

void PictureBox::resizeEvent(QResizeEvent*)
{
    QImage resized(qMax(1, width()), qMax(1, height()), QImage::Format_RGB32);
    resized.fill(back_);
    QPainter p(&resized);
    p.drawImage(0, 0, image_);
    p.end();
    image_ = resized;
    if (onResize)
        onResize();
}

int vbButton(Qt::MouseButtons buttons)
{
    int b = 0;
    if (buttons & Qt::LeftButton)
        b |= 1;
    if (buttons & Qt::RightButton)
        b |= 2;
    if (buttons & Qt::MiddleButton)
        b |= 4;
    return b;
}

int vbShift(Qt::KeyboardModifiers mods)
{
    int s = 0;
    if (mods & Qt::ShiftModifier)
        s |= 1;
    if (mods & Qt::ControlModifier)
        s |= 2;
    if (mods & Qt::AltModifier)
        s |= 4;
    return s;
}

void PictureBox::mousePressEvent(QMouseEvent* e)
{
    if (onMouseDown)
        onMouseDown(vbButton(e->button()), vbShift(e->modifiers()), twips::fromPixels(e->position().x()),
                    twips::fromPixels(e->position().y()));
}

void PictureBox::mouseReleaseEvent(QMouseEvent* e)
{
    if (onMouseUp)
        onMouseUp(vbButton(e->button()), vbShift(e->modifiers()), twips::fromPixels(e->position().x()),
                  twips::fromPixels(e->position().y()));
    if (onClick && rect().contains(e->position().toPoint()))
        onClick();
}

void PictureBox::mouseMoveEvent(QMouseEvent* e)
{
    if (onMouseMove)
        onMouseMove(vbButton(e->buttons()), vbShift(e->modifiers()), twips::fromPixels(e->position().x()),
                    twips::fromPixels(e->position().y()));
}
