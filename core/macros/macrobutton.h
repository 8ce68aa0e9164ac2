#pragma once
// A macro button: a normal look and a mouse-over look, and the mouse-up with its button.
#include <QPushButton>
#include <functional>

struct ButtonLook {
    std::int32_t backColor = 12632256; // Windows RGB
    std::int32_t foreColor = 0;
    QString fontName = QStringLiteral("Arial");
    int fontSize = 8;
    bool bold = false;
    bool italic = false;
};

class MacroButton : public QPushButton {
    Q_OBJECT
public:
    MacroButton(int index, QWidget* parent);
    int index() const { return index_; }
    void setLooks(const ButtonLook& normal, const ButtonLook& mouseOver);
    // The text colour shown while a mouse button holds the button down.
    void setPressedForeColor(std::int32_t rgbNumber);
    // button: 1 left, 2 right; shift: 1 Shift, 2 Ctrl, 4 Alt. An activation that is no mouse
    // release (click(), accessibility) arrives as a left-button release.
    std::function<void(int index, int button, int shift)> onMouseDown;
    std::function<void(int index, int button, int shift)> onMouseUp;

protected:
    void enterEvent(QEnterEvent*) override;
    void leaveEvent(QEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;

private:
    void apply(const ButtonLook& look);
    int index_;
    ButtonLook normal_, over_;
    std::int32_t pressedFore_ = -1; // -1: the look's own
    bool inMouseRelease_ = false;
};
