#pragma once
// A picture control: a back-buffer image that the program draws into and that is put on screen
// in one piece, with mouse events reported in twips (15 per pixel) as VB reported them.
#include <QImage>
#include <QWidget>
#include <functional>

class PictureBox : public QWidget {
    Q_OBJECT
public:
    // button: 1 left, 2 right, 4 middle; shift: 1 Shift, 2 Ctrl, 4 Alt; x and y in twips.
    using MouseHandler = std::function<void(int button, int shift, double x, double y)>;

    explicit PictureBox(QWidget* parent = nullptr, const QString& name = QString());

    QImage& image() { return image_; }
    const QImage& image() const { return image_; }
    void setBackColor(const QColor& c);
    QColor backColor() const { return back_; }
    // Clears the picture to its background colour (VB Cls).
    void Cls();
    // Puts the back buffer on screen.
    void Refresh() { update(); }

    // Size of the drawing area in twips.
    double ScaleWidth() const;
    double ScaleHeight() const;

    MouseHandler onMouseDown, onMouseUp, onMouseMove;
    std::function<void()> onClick;
    std::function<void()> onResize;

protected:
    void paintEvent(QPaintEvent*) override;
    void resizeEvent(QResizeEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;

private:
    QImage image_;
    QColor back_ = Qt::black;
};

// VB button and shift codes of a Qt mouse event.
int vbButton(Qt::MouseButtons buttons);
int vbShift(Qt::KeyboardModifiers mods);
