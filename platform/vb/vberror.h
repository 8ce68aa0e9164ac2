#pragma once
// VB run-time error numbers and texts for file and device failures, shown as
// "Error # " + number + " " + description.
#include <QString>

struct VbError {
    int number = 0;
    QString description;
    QString text() const; // "Error # 53 File not found"
};

namespace vberror {
// From a C errno value after a failed file or device operation.
VbError fromErrno(int err);
VbError fromNumber(int number); // the usual texts for 53, 57, 61, 70, 75, 76
} // namespace vberror
