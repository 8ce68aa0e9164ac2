#include "radio_control/command_queue.h"

namespace varnel {

std::optional<QueuedCommand> CommandQueue::push(QueuedCommand command)
{
    if (command.bytes.isEmpty())
        return std::nullopt;
    if (rows_.size() < kCapacity) {
        rows_.append(std::move(command));
        return std::nullopt;
    }
    if (!command.ptt)
        return command;
    qsizetype victim = 0;
    for (qsizetype i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].ptt) {
            victim = i;
            break;
        }
    }
    QueuedCommand lost = rows_.takeAt(victim);
    rows_.append(std::move(command));
    return lost;
}

int CommandQueue::nextToSend() const
{
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (rows_[i].release)
            return int(i);
    for (qsizetype i = 0; i < rows_.size(); ++i)
        if (rows_[i].tag.isEmpty())
            return int(i);
    return 0;
}

bool CommandQueue::hasPtt() const
{
    for (const QueuedCommand& c : rows_)
        if (c.ptt)
            return true;
    return false;
}

std::optional<QueuedCommand> CommandQueue::pop()
{
    if (rows_.isEmpty())
        return std::nullopt;
    return rows_.takeFirst();
}

} // namespace varnel
