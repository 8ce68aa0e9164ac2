#pragma once
// One open record file: an SQLite database held with an exclusive lock for as long as it is open,
// written in WAL mode, one transaction per write.
#include "logbook/store/vmx.h"

#include <map>
#include <memory>
#include <sys/types.h>

struct sqlite3;
struct sqlite3_stmt;

namespace vmx {

// Owns one prepared statement.
class Statement {
public:
    Statement() = default;
    explicit Statement(sqlite3_stmt* s) : stmt_(s) {}
    ~Statement();
    Statement(Statement&& other) noexcept : stmt_(other.stmt_) { other.stmt_ = nullptr; }
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;
    sqlite3_stmt* get() const { return stmt_; }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

class Store {
public:
    static std::int16_t open(const std::string& path, std::unique_ptr<Store>& out);
    static std::int16_t create(const std::string& path, int keyLength, const std::string& fieldSpec);
    ~Store();
    Store(const Store&) = delete;
    Store& operator=(const Store&) = delete;

    bool isFile(dev_t dev, ino_t ino) const { return dev == dev_ && ino == ino_; }
    std::int16_t info(VmxInfoRecord& info) const;
    std::int16_t setBof(int index);
    std::int16_t setEof(int index);
    std::int16_t get(int index, int operation, const std::string& searchKey, std::string& indexKey,
                     std::string& primaryKey, VmxRecord& record);
    std::int16_t put(const std::string& key, const VmxRecord& record, int mode);
    std::int16_t remove(const std::string& key);
    std::int16_t flush();

private:
    enum class Query { First, Last, After, Before, Greater, Less, EqualFirst, EqualLast, EqualAfter, EqualBefore, ByPrimary };
    struct Position {
        enum Kind { Bof, Eof, At } kind = Bof;
        std::string key; // the record's key in this index (secondary indexes only)
        double number = 0; // its primary key number
    };

    Store() = default;
    int indexCount() const { return int(indexField_.size()); } // secondary indexes
    std::int16_t exec(const char* sql);
    std::int16_t prepare(const std::string& sql, Statement& out);
    std::int16_t ensureIndex(int index);
    std::string keyExpression(int index) const;
    std::int16_t query(int index, Query q, const std::string& key, double number, Statement*& out);
    std::int16_t loadLayout();

    sqlite3* db_ = nullptr;
    std::string path_;
    std::string spec_;
    std::vector<int> widths_;      // per field: index width, or 0
    std::vector<int> indexField_;  // per secondary index (0-based): its field (0-based)
    std::vector<bool> built_;      // per index (0 = primary): its database index exists
    std::vector<Position> positions_;
    int keyLength_ = 0;
    std::int64_t count_ = 0;
    dev_t dev_ = 0;
    ino_t ino_ = 0;
    std::map<int, Statement> queries_;
    Statement insert_, update_, delete_;
};

} // namespace vmx
