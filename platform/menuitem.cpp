#include "platform/menuitem.h"

#include <QAction>
#include <QSignalBlocker>

MenuItem::MenuItem(QAction* action, QObject* parent)
    : QObject(parent), action_(action)
{
    // Checkable so the mark can show; a click that toggled it is undone before the handler runs.
    QObject::connect(action_, &QAction::triggered, this, [this] {
        {
            const QSignalBlocker block(action_);
            action_->setChecked(checked_);
        }
        click();
    });
}

QString MenuItem::name() const
{
    return action_->objectName();
}

void MenuItem::click()
{
    if (handler_)
        handler_();
}

void MenuItem::setChecked(bool on)
{
    checked_ = on;
    const QSignalBlocker block(action_);
    action_->setCheckable(on || action_->isCheckable());
    action_->setChecked(on);
}

bool MenuItem::enabled() const
{
    return action_->isEnabled();
}

void MenuItem::setEnabled(bool on)
{
    action_->setEnabled(on);
}

bool MenuItem::visible() const
{
    return action_->isVisible();
}

void MenuItem::setVisible(bool on)
{
    action_->setVisible(on);
}

QString MenuItem::caption() const
{
    return action_->text();
}

void MenuItem::setCaption(const QString& caption)
{
    action_->setText(caption);
}
