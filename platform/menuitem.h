#pragma once
// A menu item whose check mark the program owns: a click runs the item's handler and nothing
// else (Qt does not toggle the mark); the handler sets the mark as it sees fit.
#include <QObject>
#include <QString>
#include <functional>

class QAction;

class MenuItem : public QObject {
    Q_OBJECT
public:
    MenuItem(QAction* action, QObject* parent = nullptr);

    QAction* action() const { return action_; }
    QString name() const;

    void setHandler(std::function<void()> handler) { handler_ = std::move(handler); }
    bool hasHandler() const { return static_cast<bool>(handler_); }
    // Runs the handler, as a click does.
    void click();

    bool checked() const { return checked_; }
    void setChecked(bool on);
    bool enabled() const;
    void setEnabled(bool on);
    bool visible() const;
    void setVisible(bool on);
    QString caption() const;
    void setCaption(const QString& caption);

private:
    QAction* action_;
    std::function<void()> handler_;
    bool checked_ = false;
};
