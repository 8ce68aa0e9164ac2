#pragma once
// One running program per program folder: a lock file there, held for the life of the program
// and let go by the system when the process ends, however it ends.
#include <QString>

class SingleInstance {
public:
    SingleInstance();
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this is the only instance (the lock is now held).
    bool acquire();
    bool held() const { return fd_ >= 0; }

private:
    int fd_ = -1;
};
