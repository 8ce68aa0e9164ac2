#pragma once
// A record file of the logbook's layout in a temporary folder, for the record library's tests.
#include "logbook/store/vmx.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

inline const char* const kLogbookFields =
    "X15$,X15$,X5$,X4$,$,$,$,$,$,$,$,X35$,X35$,X35$,X35$,X35$,X35$,X35$,X35$";

// A QSO record of 19 fields with the fields that the tests look at.
inline VmxRecord qso(const std::string& call, const std::string& op = "W1OP", const std::string& name = "")
{
    VmxRecord r(19);
    r[0] = call;
    r[1] = op;
    r[2] = "20";
    r[3] = "PSK";
    r[6] = name;
    return r;
}

class VmxFolder {
public:
    std::string path(const char* name = "Logbook") const { return dir_.filePath(name).toStdString(); }
    bool exists(const std::string& p) const { return QFile::exists(QString::fromStdString(p)); }
    QStringList entries() const { return QDir(dir_.path()).entryList(QDir::Files | QDir::Hidden); }
    QByteArray bytes(const std::string& p) const
    {
        QFile f(QString::fromStdString(p));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    void write(const std::string& p, const QByteArray& data) const
    {
        QFile f(QString::fromStdString(p));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(data);
    }

private:
    QTemporaryDir dir_;
};

// An open, empty logbook-shaped record file; closed at the end of the test.
class VmxFixture : public testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
        ASSERT_EQ(VmxOpen(folder.path(), 1, 1, handle, "QH71MZTRA4B9KX20PE"), VmxOk);
    }
    void TearDown() override { VmxClose(handle); }

    void add(const std::string& key, const VmxRecord& r) { ASSERT_EQ(VmxPut(handle, key, r, VmxAdd), VmxOk) << key; }

    // Every primary key met when walking an index from one end with operation 2 or 4.
    std::vector<std::string> walk(int index, int op)
    {
        EXPECT_EQ(op == VmxGetNext ? VmxBOF(handle, index) : VmxEOF(handle, index), VmxOk);
        std::vector<std::string> keys;
        std::string ik, pk;
        VmxRecord r;
        while (VmxGet(handle, index, op, "", ik, pk, r) == VmxOk)
            keys.push_back(pk);
        return keys;
    }

    VmxFolder folder;
    std::int32_t handle = 0;
};
