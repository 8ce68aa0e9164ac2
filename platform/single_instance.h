#pragma once
// One running Sondrel per program folder: a lock file in the folder, held with flock(2), so the
// lock goes with the process however it ends.
#include <QString>

class SingleInstance {
public:
    // folder empty: places::programFolder().
    explicit SingleInstance(const QString& folder = {});
    ~SingleInstance();
    SingleInstance(const SingleInstance&) = delete;
    SingleInstance& operator=(const SingleInstance&) = delete;

    // True when this process now holds the folder; false when another holder is running (or the
    // lock file cannot be opened).
    bool acquire();
    void release();
    bool held() const { return fd_ >= 0; }
    QString lockFile() const { return path_; }

private:
    QString path_;
    int fd_ = -1;
};
