// The record file on disk: creation, opening, refusals, durability and deletion.
#include "vmx_test_support.h"

#include <QProcess>
#include <sqlite3.h>
#include <sys/stat.h>

namespace {

std::int16_t openFile(const std::string& path, std::int32_t& handle)
{
    return VmxOpen(path, 1, 1, handle, "QH71MZTRA4B9KX20PE");
}

// A valid SQLite database that belongs to some other program.
void makeForeignDatabase(const std::string& path)
{
    sqlite3* db = nullptr;
    ASSERT_EQ(sqlite3_open(path.c_str(), &db), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(db, "CREATE TABLE t(x); INSERT INTO t VALUES(1);", nullptr, nullptr, nullptr), SQLITE_OK);
    sqlite3_close(db);
}

std::vector<std::string> indexNames(const std::string& path)
{
    sqlite3* db = nullptr;
    std::vector<std::string> names;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        sqlite3_exec(db, "SELECT name FROM sqlite_master WHERE type='index' AND name LIKE 'vmx_index_%' ORDER BY name",
                     [](void* out, int, char** v, char**) {
                         static_cast<std::vector<std::string>*>(out)->push_back(v[0]);
                         return 0;
                     },
                     &names, nullptr);
    }
    sqlite3_close(db);
    return names;
}

} // namespace

TEST(VmxFiles, OpenOfAMissingFileCreatesNothing)
{
    VmxFolder folder;
    std::int32_t handle = 77;
    EXPECT_EQ(openFile(folder.path(), handle), VmxFileMissing);
    EXPECT_EQ(handle, 0);
    EXPECT_TRUE(folder.entries().isEmpty());
    EXPECT_EQ(openFile(folder.path("no/such/folder/Logbook"), handle), VmxFileMissing);
    EXPECT_EQ(VmxCreate(folder.path("no/such/folder/Logbook"), 20, 0, 0, 0, kLogbookFields), VmxPathMissing);
    EXPECT_TRUE(folder.entries().isEmpty());
}

TEST(VmxFiles, CreateLeavesOneFileAndRefusesToReplaceIt)
{
    VmxFolder folder;
    EXPECT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, "X15$,,$"), VmxBadFieldSpec);
    EXPECT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, "X0$"), VmxBadFieldSpec);
    EXPECT_EQ(VmxCreate(folder.path(), 20, 1, 0, 0, kLogbookFields), VmxBadParameter);
    EXPECT_TRUE(folder.entries().isEmpty());
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    EXPECT_EQ(folder.entries(), QStringList{"Logbook"}); // no temporary or journal file left
    QByteArray before = folder.bytes(folder.path());
    EXPECT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxFileExists);
    EXPECT_EQ(folder.bytes(folder.path()), before);
}

TEST(VmxFiles, RecordsSurviveCloseAndReopen)
{
    VmxFolder folder;
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    std::int32_t handle = 0;
    ASSERT_EQ(openFile(folder.path(), handle), VmxOk);
    ASSERT_EQ(VmxPut(handle, " 45292.5", qso("K1ABC", "W1OP", "Ann"), VmxAdd), VmxOk);
    ASSERT_EQ(VmxPut(handle, " 45293.5", qso("K1ABD"), VmxAdd), VmxOk);
    ASSERT_EQ(VmxClose(handle), VmxOk);
    EXPECT_EQ(VmxClose(handle), VmxBadHandle);
    std::string ik, pk;
    VmxRecord r;
    EXPECT_EQ(VmxGet(handle, 0, VmxGetEqual, "45292.5", ik, pk, r), VmxBadHandle);

    std::int32_t again = 0;
    ASSERT_EQ(openFile(folder.path(), again), VmxOk);
    EXPECT_NE(again, handle);
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(again, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 2);
    EXPECT_EQ(info.FieldSpec, kLogbookFields);
    EXPECT_EQ(info.KeyLength, 20);
    ASSERT_EQ(VmxGet(again, 1, VmxGetFirstEqual, "K1ABC", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 45292.5");
    EXPECT_EQ(r[6], "Ann");
    EXPECT_EQ(VmxClose(again), VmxOk);
    // The callsign and operator indexes are real database indexes from their first use on.
    EXPECT_EQ(indexNames(folder.path()), std::vector<std::string>{"vmx_index_1"});
}

TEST(VmxFiles, FlushEmptiesTheWriteAheadLog)
{
    VmxFolder folder;
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    std::int32_t handle = 0;
    ASSERT_EQ(openFile(folder.path(), handle), VmxOk);
    ASSERT_EQ(VmxPut(handle, " 45292.5", qso("K1ABC"), VmxAdd), VmxOk);
    struct stat st;
    ASSERT_EQ(::stat(folder.path("Logbook-wal").c_str(), &st), 0);
    EXPECT_GT(st.st_size, 0);
    ASSERT_EQ(VmxFlush(handle), VmxOk);
    ASSERT_EQ(::stat(folder.path("Logbook-wal").c_str(), &st), 0);
    EXPECT_EQ(st.st_size, 0);
    EXPECT_FALSE(folder.exists(folder.path("Logbook-shm")));
    EXPECT_EQ(VmxClose(handle), VmxOk);
    EXPECT_FALSE(folder.exists(folder.path("Logbook-wal")));
    EXPECT_EQ(VmxFlush(handle), VmxBadHandle);
}

TEST(VmxFiles, AKilledWriterLosesNothingThatWasPut)
{
    VmxFolder folder;
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    QProcess writer;
    writer.start(VMX_WRITER_PATH, {QString::fromStdString(folder.path()), " 45292.5", "K1ABC", " 45292.6", "K1ABD"});
    ASSERT_TRUE(writer.waitForFinished(30000));
    ASSERT_EQ(writer.exitStatus(), QProcess::CrashExit) << writer.readAllStandardError().toStdString();
    EXPECT_TRUE(folder.exists(folder.path("Logbook-wal"))); // died before any checkpoint

    std::int32_t handle = 0;
    ASSERT_EQ(openFile(folder.path(), handle), VmxOk);
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(handle, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 2);
    std::string ik, pk;
    VmxRecord r;
    ASSERT_EQ(VmxGet(handle, 1, VmxGetFirstEqual, "K1ABD", ik, pk, r), VmxOk);
    EXPECT_EQ(pk, " 45292.6");
    EXPECT_EQ(r[1], "W1OP");
    EXPECT_EQ(VmxClose(handle), VmxOk);
}

TEST(VmxFiles, FilesThatAreNotOursAreLeftAsTheyAre)
{
    VmxFolder folder;
    // A logbook of ours whose records are damaged past the header.
    std::string damaged = folder.path("Damaged");
    ASSERT_EQ(VmxCreate(damaged, 20, 0, 0, 0, kLogbookFields), VmxOk);
    QByteArray bytes = folder.bytes(damaged);
    bytes.replace(100, 3900, QByteArray(3900, '\x5A'));
    folder.write(damaged, bytes);

    makeForeignDatabase(folder.path("Foreign"));
    folder.write(folder.path("Text"), "My old logbook\r\nK1ABC 20m\r\n");
    folder.write(folder.path("Empty"), "");
    QByteArray header(100, '\0');
    header.replace(0, 16, QByteArray("SQLite format 3\0", 16));
    header[68] = 0x53, header[69] = 0x6E, header[70] = 0x4C, header[71] = 0x62, header[63] = 9;
    folder.write(folder.path("Newer"), header + QByteArray(3996, '\0'));
    QDir(QString::fromStdString(folder.path())).mkpath(QString::fromStdString(folder.path("Folder")));

    struct Case { const char* name; std::int16_t open; std::int16_t kill; };
    for (const Case& c : {Case{"Damaged", VmxDamaged, VmxOk}, Case{"Foreign", VmxNotOurFile, VmxNotOurFile},
                          Case{"Text", VmxNotOurFile, VmxNotOurFile}, Case{"Empty", VmxNotOurFile, VmxNotOurFile},
                          Case{"Newer", VmxNewerVersion, VmxOk}, Case{"Folder", VmxNotOurFile, VmxNotOurFile}}) {
        std::string path = folder.path(c.name);
        QByteArray before = folder.bytes(path);
        std::int32_t handle = 5;
        EXPECT_EQ(openFile(path, handle), c.open) << c.name;
        EXPECT_EQ(handle, 0) << c.name;
        EXPECT_EQ(VmxCreate(path, 20, 0, 0, 0, kLogbookFields), VmxFileExists) << c.name;
        EXPECT_TRUE(folder.exists(path)) << c.name;
        EXPECT_EQ(folder.bytes(path), before) << c.name;
        if (c.kill != VmxOk) {
            EXPECT_EQ(VmxKill(path), c.kill) << c.name;
            EXPECT_TRUE(folder.exists(path)) << c.name;
        }
    }
    EXPECT_FALSE(folder.exists(folder.path("Foreign-wal")));
}

TEST(VmxFiles, AFileInUseIsLockedAndCannotBeKilled)
{
    VmxFolder folder;
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    std::int32_t handle = 0, second = 0;
    ASSERT_EQ(openFile(folder.path(), handle), VmxOk);
    ASSERT_EQ(VmxPut(handle, " 1", qso("K1ABC"), VmxAdd), VmxOk);
    EXPECT_EQ(openFile(folder.path(), second), VmxLocked);
    EXPECT_EQ(VmxKill(folder.path()), VmxFileOpen);
    EXPECT_TRUE(folder.exists(folder.path()));

    // Held by another process: the writer dies holding nothing, so hold it with SQLite directly.
    ASSERT_EQ(VmxClose(handle), VmxOk);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(folder.path().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr), SQLITE_OK);
    EXPECT_EQ(openFile(folder.path(), second), VmxLocked);
    EXPECT_EQ(VmxKill(folder.path()), VmxLocked);
    sqlite3_exec(other, "COMMIT", nullptr, nullptr, nullptr);
    sqlite3_close(other);

    ASSERT_EQ(openFile(folder.path(), second), VmxOk);
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(second, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 1);
    EXPECT_EQ(VmxClose(second), VmxOk);
}

TEST(VmxFiles, KillRemovesTheFileWithItsCompanions)
{
    VmxFolder folder;
    EXPECT_EQ(VmxKill(folder.path()), VmxFileMissing);
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    folder.write(folder.path("Logbook-wal"), "");
    folder.write(folder.path("Logbook-shm"), "");
    folder.write(folder.path("Logbook.bak"), "keep");
    EXPECT_EQ(VmxKill(folder.path()), VmxOk);
    EXPECT_EQ(folder.entries(), QStringList{"Logbook.bak"});
    // The delete-logbook road: open again finds it missing, creates and opens an empty one.
    std::int32_t handle = 0;
    EXPECT_EQ(openFile(folder.path(), handle), VmxFileMissing);
    ASSERT_EQ(VmxCreate(folder.path(), 20, 0, 0, 0, kLogbookFields), VmxOk);
    ASSERT_EQ(openFile(folder.path(), handle), VmxOk);
    VmxInfoRecord info;
    ASSERT_EQ(VmxInfo(handle, info), VmxOk);
    EXPECT_EQ(info.RecordCount, 0);
    EXPECT_EQ(VmxClose(handle), VmxOk);
}
