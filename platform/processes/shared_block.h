#pragma once
// A named block of shared memory (POSIX shm), for the user alone (mode 0600). The name is
// scoped by user and program folder, so two program folders never share a block.
#include <QString>
#include <QStringList>
#include <cstddef>

class SharedBlock {
public:
    // name: a short name for objectName(), or a full object name ("/...") as fullName() gives.
    SharedBlock(const QString& name, std::size_t size);
    ~SharedBlock();
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    // "/sondrel-<uid>-<program folder tag>-<name>": what every process of this folder opens.
    static QString objectName(const QString& name);

    // The program's side: creates the block, or attaches to one of ours left by a crash (its
    // contents stay as they were; the caller clears it). When someone else holds the name, a
    // fresh unpredictable name is made instead (fullName() tells it). close() then removes it.
    bool create();
    QString fullName() const { return name_; }
    // The block name a peer was started with ("--block NAME"), else def.
    static QString nameArgument(const QStringList& arguments, const QString& def);
    // A peer's side: attaches to the program's block; false when there is none of this size.
    bool attach();

    void* data() const { return data_; }
    std::size_t size() const { return size_; }
    bool isMapped() const { return data_ != nullptr; }

    // Ends the mapping; false when there was none or it could not be ended.
    bool unmap();
    // Unmaps when still mapped, lets go of the block and, on the program's side, its name.
    void close();

private:
    // createFlags: O_CREAT with or without O_EXCL, 0 for an existing block; -1 attaches.
    bool open(int createFlags);

    QString name_;
    std::size_t size_;
    int fd_ = -1;
    void* data_ = nullptr;
    bool owner_ = false;
};
