#pragma once
// The one queue every command for the radio goes through; at most one command leaves per
// poll tick.
#include <QByteArray>
#include <QList>
#include <QString>
#include <optional>

namespace varnel {

struct QueuedCommand {
    QByteArray bytes;
    bool hex = true;    // shown as hexadecimal bytes in the debug window
    QString tag;        // the reply the command asks for ("FromFreq"), empty for none
    bool ptt = false;   // a PTT command: never lost to a full queue
    bool release = false; // the PTT-off command: goes out before every other command
};

class CommandQueue {
public:
    static constexpr int kCapacity = 20;

    // Appends a command. An empty command takes no place and is ignored. When the queue is
    // full the new command is dropped, except a PTT command, which makes room by dropping
    // the oldest command that is not a PTT command (the oldest PTT command when all are).
    // Returns the command that was dropped, if any.
    std::optional<QueuedCommand> push(QueuedCommand command);

    // Takes the head; nullopt when the queue is empty.
    std::optional<QueuedCommand> pop();

    // Takes row i out of the queue.
    QueuedCommand takeAt(int i) { return rows_.takeAt(i); }
    // Drops the rows the predicate picks; returns how many went.
    template <class Pred>
    int removeIf(Pred pick)
    {
        return int(rows_.removeIf(pick));
    }

    // The row to send while a PTT command waits: the first PTT-off command when there is
    // one, else the first command that is not a poll (the host's commands keep their order).
    int nextToSend() const;
    bool hasPtt() const;

    bool isEmpty() const { return rows_.isEmpty(); }
    int size() const { return static_cast<int>(rows_.size()); }
    const QueuedCommand& at(int i) const { return rows_.at(i); }
    void clear() { rows_.clear(); }

private:
    QList<QueuedCommand> rows_;
};

} // namespace varnel
