#include "platform/widgets/menuitem.h"

#include <QAction>
#include <QSignalBlocker>

MenuItem::MenuItem(QAction* action, Handler handler)
    : QObject(action), action_(action), handler_(std::move(handler)),
      checked_(action->isCheckable() && action->isChecked())
{
    connect(action, &QAction::triggered, this, &MenuItem::onTriggered);
}

MenuItem::MenuItem(const QString& caption, QObject* parent, Handler handler)
    : MenuItem(new QAction(caption, parent), std::move(handler))
{
}

void MenuItem::onTriggered()
{
    if (action_ && action_->isCheckable() && action_->isChecked() != checked_) {
        const QSignalBlocker quiet(action_.data());
        action_->setChecked(checked_);
    }
    click();
}

void MenuItem::click()
{
    if (handler_) {
        const Handler run = handler_; // the handler may replace itself
        run();
    }
}

void MenuItem::setChecked(bool checked)
{
    checked_ = checked;
    if (!action_)
        return;
    // An item shows a check box only once it has ever been checked.
    if (checked && !action_->isCheckable())
        action_->setCheckable(true);
    if (action_->isCheckable()) {
        const QSignalBlocker quiet(action_.data());
        action_->setChecked(checked);
    }
}

QString MenuItem::caption() const
{
    return action_ ? action_->text() : QString();
}

void MenuItem::setCaption(const QString& caption)
{
    if (action_)
        action_->setText(caption);
}

bool MenuItem::enabled() const
{
    return action_ && action_->isEnabled();
}

void MenuItem::setEnabled(bool enabled)
{
    if (action_)
        action_->setEnabled(enabled);
}

bool MenuItem::visible() const
{
    return action_ && action_->isVisible();
}

void MenuItem::setVisible(bool visible)
{
    if (action_)
        action_->setVisible(visible);
}
