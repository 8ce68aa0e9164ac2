#pragma once
// One running Sondrel per program folder: a lock file in the folder, held with flock(2), so the
// lock goes with the process however it ends. The holder removes the file when it releases it;
// a file left by a process that was killed holds no lock and is simply taken over.
#include <QString>

class SingleInstance {
public:
    // folder empty: places::programFolder().
    explicit SingleInstance(const QString& folder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    enum class Failure { None, Held, CannotCreate };
    // True when this process now holds the folder; false when another holder is running
    // (failure() Held) or the lock file cannot be created in the folder (CannotCreate, with the
    // C errno value in error()).
    bool acquire();
    Failure failure() const { return failure_; }
    int error() const { return error_; }
    void release();
    bool held() const { return fd_ >= 0; }
    QString lockFile() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
    Failure failure_ = Failure::None;
    int error_ = 0;
};
