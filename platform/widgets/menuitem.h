#pragma once
// A menu item whose check mark belongs to the program: a click runs the item's handler and
// nothing else; the handler toggles or sets the mark itself. Qt's own toggling on a click is
// taken back before the handler runs.
#include <QAction>
#include <QPointer>
#include <QString>
#include <functional>

class MenuItem : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void()>;

    // Wraps an existing action; the item lives as long as the action (its parent).
    explicit MenuItem(QAction* action, Handler handler = {});
    // Makes its own action with this caption ("&File" marks the access key), owned by parent.
    MenuItem(const QString& caption, QObject* parent, Handler handler = {});

    QAction* action() const { return action_; }
    void setHandler(Handler handler) { handler_ = std::move(handler); }
    bool hasHandler() const { return static_cast<bool>(handler_); }

    // The mark; setting it runs no handler.
    bool checked() const { return checked_; }
    void setChecked(bool checked);

    // Runs the handler, as a click does (also while the item is disabled or hidden).
    void click();

    QString caption() const;
    void setCaption(const QString& caption);
    bool enabled() const;
    void setEnabled(bool enabled);
    bool visible() const;
    void setVisible(bool visible);

private:
    void onTriggered();

    QPointer<QAction> action_;
    Handler handler_;
    bool checked_ = false;
};
