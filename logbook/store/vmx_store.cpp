// Opening, creating and closing a record file.
#include "logbook/store/vmx_store.h"

#include "logbook/store/vmx_format.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace vmx {

Statement::~Statement()
{
    sqlite3_finalize(stmt_);
}

Statement& Statement::operator=(Statement&& other) noexcept
{
    if (this != &other) {
        sqlite3_finalize(stmt_);
        stmt_ = other.stmt_;
        other.stmt_ = nullptr;
    }
    return *this;
}

namespace {

// Runs SQL text that returns no rows we need.
std::int16_t execOn(sqlite3* db, const std::string& sql)
{
    return statusFromSqlite(sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr));
}

std::string recordTableSql(std::size_t fields)
{
    std::string sql = "CREATE TABLE vmx_record(knum REAL PRIMARY KEY NOT NULL, ktext BLOB NOT NULL";
    for (std::size_t f = 1; f <= fields; ++f)
        sql += ", f" + std::to_string(f) + " BLOB NOT NULL DEFAULT x''";
    return sql + ") WITHOUT ROWID";
}

void removeWithCompanions(const std::string& path)
{
    ::unlink(path.c_str());
    ::unlink((path + "-wal").c_str());
    ::unlink((path + "-shm").c_str());
    ::unlink((path + "-journal").c_str());
}

std::int16_t folderStatus(const std::string& path)
{
    std::string::size_type slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    struct stat st;
    if (::stat(folder.c_str(), &st) != 0)
        return errno == ENOENT || errno == ENOTDIR ? std::int16_t(VmxPathMissing) : statusFromErrno(errno);
    return S_ISDIR(st.st_mode) ? std::int16_t(VmxOk) : std::int16_t(VmxPathMissing);
}

// Builds an empty record file at `tmp` (which exists, empty).
std::int16_t buildEmpty(const std::string& tmp, int keyLength, const std::string& spec, std::size_t fields)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(tmp.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::int16_t status = statusFromSqlite(rc);
    if (status == VmxOk) {
        sqlite3_extended_result_codes(db, 1);
        std::string sql = "PRAGMA application_id=" + std::to_string(kApplicationId)
            + "; PRAGMA user_version=" + std::to_string(kFormatVersion)
            + "; PRAGMA journal_mode=WAL; PRAGMA synchronous=FULL; BEGIN;"
              " CREATE TABLE vmx_meta(name TEXT PRIMARY KEY NOT NULL, value TEXT NOT NULL) WITHOUT ROWID; "
            + recordTableSql(fields) + "; COMMIT; PRAGMA wal_checkpoint(TRUNCATE);";
        status = execOn(db, sql);
    }
    if (status == VmxOk) {
        sqlite3_stmt* raw = nullptr;
        status = statusFromSqlite(sqlite3_prepare_v2(db, "INSERT INTO vmx_meta VALUES(?1, ?2)", -1, &raw, nullptr));
        Statement meta(raw);
        const std::pair<const char*, std::string> rows[] = {{"fields", spec}, {"key_length", std::to_string(keyLength)}};
        for (const auto& [name, value] : rows) {
            if (status != VmxOk)
                break;
            sqlite3_bind_text(raw, 1, name, -1, SQLITE_STATIC);
            sqlite3_bind_text(raw, 2, value.c_str(), int(value.size()), SQLITE_TRANSIENT);
            status = statusFromSqlite(sqlite3_step(raw));
            sqlite3_reset(raw);
        }
    }
    if (status == VmxOk)
        status = execOn(db, "PRAGMA wal_checkpoint(TRUNCATE);");
    int closeRc = sqlite3_close_v2(db);
    if (status == VmxOk)
        status = statusFromSqlite(closeRc);
    if (status == VmxOk) {
        int fd = ::open(tmp.c_str(), O_RDWR | O_CLOEXEC);
        if (fd < 0 || ::fsync(fd) != 0)
            status = statusFromErrno(errno);
        if (fd >= 0)
            ::close(fd);
    }
    return status;
}

// Puts `tmp` in place as `path`, never replacing a file that appeared there meanwhile.
std::int16_t renameNoReplace(const std::string& tmp, const std::string& path)
{
    if (::renameat2(AT_FDCWD, tmp.c_str(), AT_FDCWD, path.c_str(), RENAME_NOREPLACE) == 0)
        return VmxOk;
    if (errno != EINVAL && errno != ENOSYS)
        return statusFromErrno(errno);
    // File systems without the no-replace rename: a hard link fails on an existing name as well.
    if (::link(tmp.c_str(), path.c_str()) != 0)
        return statusFromErrno(errno);
    ::unlink(tmp.c_str());
    return VmxOk;
}

} // namespace

std::int16_t Store::create(const std::string& path, int keyLength, const std::string& fieldSpec)
{
    std::vector<int> widths;
    if (!parseFieldSpec(fieldSpec, widths))
        return VmxBadFieldSpec;
    struct stat st;
    if (::lstat(path.c_str(), &st) == 0)
        return VmxFileExists;
    if (errno != ENOENT)
        return errno == ENOTDIR ? std::int16_t(VmxPathMissing) : statusFromErrno(errno);
    if (std::int16_t s = folderStatus(path); s != VmxOk)
        return s;

    std::string tmp = path + ".new-XXXXXX";
    int fd = ::mkstemp(tmp.data());
    if (fd < 0)
        return statusFromErrno(errno);
    ::close(fd);
    std::int16_t status = buildEmpty(tmp, keyLength, fieldSpec, widths.size());
    if (status == VmxOk)
        status = renameNoReplace(tmp, path);
    if (status == VmxOk)
        syncFolderOf(path);
    removeWithCompanions(tmp);
    return status;
}

std::int16_t Store::open(const std::string& path, std::unique_ptr<Store>& out)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? std::int16_t(VmxFileMissing) : statusFromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return VmxNotOurFile;
    // Decide from the header alone before SQLite sees the file: a file that is not ours is
    // never opened by it, so nothing can be written into it (no journal is replayed).
    if (std::int16_t s = checkHeader(path); s != VmxOk)
        return s;

    std::unique_ptr<Store> store(new Store);
    store->path_ = path;
    store->dev_ = st.st_dev;
    store->ino_ = st.st_ino;
    int rc = sqlite3_open_v2(path.c_str(), &store->db_, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK)
        return statusFromSqlite(rc);
    sqlite3_extended_result_codes(store->db_, 1);
    if (sqlite3_db_readonly(store->db_, "main") == 1)
        return VmxReadOnly;
    sqlite3_busy_timeout(store->db_, 250);
    // The exclusive locking mode, set before the first access, keeps the WAL index in our own
    // memory (no -shm file) and holds the file for us alone until it is closed.
    std::int16_t status = store->exec("PRAGMA locking_mode=EXCLUSIVE; PRAGMA synchronous=NORMAL;"
                                      " PRAGMA cache_size=-8192; PRAGMA journal_mode=WAL;");
    if (status == VmxOk)
        status = store->exec("BEGIN EXCLUSIVE");
    if (status == VmxOk) {
        status = store->loadLayout();
        std::int16_t end = store->exec(status == VmxOk ? "COMMIT" : "ROLLBACK");
        if (status == VmxOk)
            status = end;
    }
    if (status != VmxOk)
        return status;
    out = std::move(store);
    return VmxOk;
}

std::int16_t Store::loadLayout()
{
    std::string keyLength;
    {
        Statement meta;
        if (prepare("SELECT name, value FROM vmx_meta", meta) != VmxOk)
            return VmxDamaged;
        int rc;
        while ((rc = sqlite3_step(meta.get())) == SQLITE_ROW) {
            std::string name = reinterpret_cast<const char*>(sqlite3_column_text(meta.get(), 0));
            const unsigned char* v = sqlite3_column_text(meta.get(), 1);
            std::string value = v ? reinterpret_cast<const char*>(v) : "";
            if (name == "fields")
                spec_ = value;
            else if (name == "key_length")
                keyLength = value;
        }
        if (rc != SQLITE_DONE)
            return statusFromSqlite(rc);
    }
    keyLength_ = std::atoi(keyLength.c_str());
    if (!parseFieldSpec(spec_, widths_) || keyLength_ < 1 || keyLength_ > 255)
        return VmxDamaged;
    for (std::size_t f = 0; f < widths_.size(); ++f)
        if (widths_[f] > 0)
            indexField_.push_back(int(f));
    built_.assign(indexField_.size() + 1, false);
    built_[0] = true;
    positions_.assign(indexField_.size() + 1, Position{});

    // Every column must be there, and the count tells the table is readable.
    Statement count;
    std::string sql = "SELECT count(*)";
    for (std::size_t f = 1; f <= widths_.size(); ++f)
        sql += ", max(length(f" + std::to_string(f) + "))";
    sql += " FROM (SELECT * FROM vmx_record LIMIT 1)";
    if (prepare(sql, count) != VmxOk)
        return VmxDamaged;
    if (int rc = sqlite3_step(count.get()); rc != SQLITE_ROW)
        return statusFromSqlite(rc);
    Statement total;
    if (prepare("SELECT count(*) FROM vmx_record", total) != VmxOk)
        return VmxDamaged;
    if (int rc = sqlite3_step(total.get()); rc != SQLITE_ROW)
        return statusFromSqlite(rc);
    count_ = sqlite3_column_int64(total.get(), 0);

    Statement indexes;
    if (prepare("SELECT name FROM sqlite_master WHERE type = 'index' AND tbl_name = 'vmx_record'", indexes) != VmxOk)
        return VmxDamaged;
    int rc;
    while ((rc = sqlite3_step(indexes.get())) == SQLITE_ROW) {
        std::string name = reinterpret_cast<const char*>(sqlite3_column_text(indexes.get(), 0));
        int i = 0;
        if (std::sscanf(name.c_str(), "vmx_index_%d", &i) == 1 && i >= 1 && i < int(built_.size()))
            built_[std::size_t(i)] = true;
    }
    return rc == SQLITE_DONE ? std::int16_t(VmxOk) : statusFromSqlite(rc);
}

Store::~Store()
{
    queries_.clear();
    insert_ = Statement();
    update_ = Statement();
    delete_ = Statement();
    sqlite3_close_v2(db_);
}

std::int16_t Store::exec(const char* sql)
{
    return execOn(db_, sql);
}

std::int16_t Store::prepare(const std::string& sql, Statement& out)
{
    sqlite3_stmt* raw = nullptr;
    int rc = sqlite3_prepare_v3(db_, sql.c_str(), int(sql.size()), SQLITE_PREPARE_PERSISTENT, &raw, nullptr);
    out = Statement(raw);
    if (rc != SQLITE_OK)
        return (rc & 0xff) == SQLITE_ERROR ? std::int16_t(VmxDamaged) : statusFromSqlite(rc);
    return VmxOk;
}

std::int16_t Store::info(VmxInfoRecord& info) const
{
    VmxInfoRecord r;
    r.RecordCount = count_ > INT32_MAX ? INT32_MAX : std::int32_t(count_);
    r.FieldCount = std::int32_t(widths_.size());
    r.IndexCount = indexCount();
    r.KeyLength = keyLength_;
    r.FormatVersion = kFormatVersion;
    r.Path = path_;
    r.FieldSpec = spec_;
    info = std::move(r);
    return VmxOk;
}

std::int16_t Store::flush()
{
    int logFrames = 0, checkpointed = 0;
    int rc = sqlite3_wal_checkpoint_v2(db_, "main", SQLITE_CHECKPOINT_TRUNCATE, &logFrames, &checkpointed);
    return statusFromSqlite(rc);
}

} // namespace vmx
