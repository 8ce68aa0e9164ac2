#pragma once
// Mouse presses and clicks of plain labels and text boxes, reported the way the program's
// handlers take them (button 1 left, 2 right, 4 middle; x in twips within the control), and a
// focus that is passed straight on.
#include <QObject>
#include <functional>

class QWidget;

class ClickFilter : public QObject {
public:
    using Press = std::function<void(int button, int shift, double x)>;
    // Installs itself on `target` and lives as long as it.
    static ClickFilter* attach(QWidget* target);

    Press onMouseDown;
    std::function<void()> onClick;
    std::function<void()> onFocus; // the control received the keyboard focus

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    explicit ClickFilter(QObject* parent) : QObject(parent) {}
    bool pressed_ = false;
};
