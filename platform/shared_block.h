#pragma once
// A named block of shared memory (POSIX shm), for the user alone (mode 0600). The name is
// scoped by user and program folder, so two program folders never share a block.
#include <QString>
#include <cstddef>

class SharedBlock {
public:
    SharedBlock(const QString& name, std::size_t size);
    ~SharedBlock();
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    // "/sondrel-<uid>-<program folder tag>-<name>": what every process of this folder opens.
    static QString objectName(const QString& name);

    // The program's side: creates the block, or attaches to one left by a crash (its contents
    // stay as they were; the caller clears it). close() then removes the name.
    bool create();
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
    bool open(bool mayCreate);

    QString name_;
    std::size_t size_;
    int fd_ = -1;
    void* data_ = nullptr;
    bool owner_ = false;
};
