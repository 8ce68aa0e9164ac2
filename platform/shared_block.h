#pragma once
// A named block of memory shared with another process (POSIX shared memory, the user's alone).
// Creating attaches to a block of that name that is already there, such as one a crashed run
// left behind.
#include <QString>

class SharedBlock {
public:
    enum Result { Ok, CreateFailed, MapFailed };

    SharedBlock(const QString& name, int size);
    ~SharedBlock();
    SharedBlock(const SharedBlock&) = delete;
    SharedBlock& operator=(const SharedBlock&) = delete;

    Result create();
    unsigned char* data() const { return data_; }
    int size() const { return size_; }
    // Releases the view; true when it was mapped and is now released.
    bool unmap();
    // Lets go of the block (the name stays until the last user removes it).
    void close();

    // The system-wide object name, scoped to the user and the program folder.
    static QString objectName(const QString& name);

private:
    QString name_;
    int size_;
    int fd_ = -1;
    unsigned char* data_ = nullptr;
};
