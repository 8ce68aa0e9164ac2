// Reads and writes of an open record file.
#include "logbook/store/vmx_format.h"
#include "logbook/store/vmx_store.h"

#include <cstring>
#include <sqlite3.h>

namespace vmx {

namespace {

// Resets a statement when the operation that stepped it ends.
struct ResetOnExit {
    sqlite3_stmt* stmt;
    ~ResetOnExit()
    {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

std::string columnBytes(sqlite3_stmt* stmt, int column)
{
    const void* data = sqlite3_column_blob(stmt, column);
    int size = sqlite3_column_bytes(stmt, column);
    return data ? std::string(static_cast<const char*>(data), std::size_t(size)) : std::string();
}

void bindBytes(sqlite3_stmt* stmt, int parameter, const std::string& bytes)
{
    // Never a NULL pointer: that would store NULL, not an empty field.
    sqlite3_bind_blob(stmt, parameter, bytes.empty() ? "" : bytes.data(), int(bytes.size()), SQLITE_TRANSIENT);
}

// Byte order of secondary keys, as the database compares them.
int compareBytes(const std::string& a, const std::string& b)
{
    std::size_t n = std::min(a.size(), b.size());
    int c = n ? std::memcmp(a.data(), b.data(), n) : 0;
    if (c != 0)
        return c;
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

} // namespace

std::string Store::keyExpression(int index) const
{
    if (index == 0)
        return "ktext";
    int field = indexField_[std::size_t(index - 1)];
    return "substr(f" + std::to_string(field + 1) + ",1," + std::to_string(widths_[std::size_t(field)]) + ")";
}

std::int16_t Store::ensureIndex(int index)
{
    if (built_[std::size_t(index)])
        return VmxOk;
    // A secondary index is built the first time something uses it and kept up to date from then
    // on, so the indexes that nothing reads cost nothing on every write.
    std::string sql = "CREATE INDEX IF NOT EXISTS vmx_index_" + std::to_string(index) + " ON vmx_record("
        + keyExpression(index) + ", knum)";
    std::int16_t status = exec(sql.c_str());
    if (status == VmxOk)
        built_[std::size_t(index)] = true;
    return status;
}

std::int16_t Store::query(int index, Query q, const std::string& key, double number, Statement*& out)
{
    int slot = index * 16 + int(q);
    auto it = queries_.find(slot);
    if (it == queries_.end()) {
        std::string k = keyExpression(index);
        std::string sql = "SELECT ktext, knum, " + k;
        for (std::size_t f = 1; f <= widths_.size(); ++f)
            sql += ", f" + std::to_string(f);
        sql += " FROM vmx_record ";
        // Written so that each one is a single search of its index: the planner does not search
        // an expression index by a row value, nor see that equal keys leave the order to knum.
        std::string asc = index == 0 ? "knum" : k + ", knum";
        std::string desc = index == 0 ? "knum DESC" : k + " DESC, knum DESC";
        switch (q) {
        case Query::First: sql += "ORDER BY " + asc; break;
        case Query::Last: sql += "ORDER BY " + desc; break;
        case Query::After: sql += "WHERE knum > ?2 ORDER BY knum"; break; // primary index only
        case Query::Before: sql += "WHERE knum < ?2 ORDER BY knum DESC"; break;
        case Query::Greater: sql += "WHERE " + k + " > ?1 ORDER BY " + asc; break;
        case Query::Less: sql += "WHERE " + k + " < ?1 ORDER BY " + desc; break;
        case Query::EqualFirst: sql += "WHERE " + k + " = ?1 ORDER BY knum"; break;
        case Query::EqualLast: sql += "WHERE " + k + " = ?1 ORDER BY knum DESC"; break;
        case Query::EqualAfter: sql += "WHERE " + k + " = ?1 AND knum > ?2 ORDER BY knum"; break;
        case Query::EqualBefore: sql += "WHERE " + k + " = ?1 AND knum < ?2 ORDER BY knum DESC"; break;
        case Query::ByPrimary: sql += "WHERE knum = ?2"; break;
        }
        sql += " LIMIT 1";
        Statement s;
        if (std::int16_t status = prepare(sql, s); status != VmxOk)
            return status;
        it = queries_.emplace(slot, std::move(s)).first;
    }
    sqlite3_stmt* stmt = it->second.get();
    int parameters = sqlite3_bind_parameter_count(stmt);
    if (parameters >= 1)
        bindBytes(stmt, 1, key);
    if (parameters >= 2)
        sqlite3_bind_double(stmt, 2, number);
    out = &it->second;
    return VmxOk;
}

std::int16_t Store::setBof(int index)
{
    if (index < 0 || index > indexCount())
        return VmxBadIndex;
    if (std::int16_t status = ensureIndex(index); status != VmxOk)
        return status;
    positions_[std::size_t(index)] = Position{Position::Bof, {}, 0};
    return VmxOk;
}

std::int16_t Store::setEof(int index)
{
    if (index < 0 || index > indexCount())
        return VmxBadIndex;
    if (std::int16_t status = ensureIndex(index); status != VmxOk)
        return status;
    positions_[std::size_t(index)] = Position{Position::Eof, {}, 0};
    return VmxOk;
}

std::int16_t Store::get(int index, int operation, const std::string& searchKey, std::string& indexKey,
                        std::string& primaryKey, VmxRecord& record)
{
    if (index < 0 || index > indexCount())
        return VmxBadIndex;
    if (operation != VmxGetEqual && operation != VmxGetFirstEqual && operation != VmxGetNext
        && operation != VmxGetPrevious && operation != VmxGetNextEqual && operation != VmxGetPreviousEqual)
        return VmxBadOperation;
    if (std::int16_t status = ensureIndex(index); status != VmxOk)
        return status;

    const Position& pos = positions_[std::size_t(index)];
    bool keyed = operation != VmxGetNext && operation != VmxGetPrevious;
    std::string key;
    double number = 0;
    if (keyed && (index == 0 || operation == VmxGetEqual)) {
        if (!keyValue(searchKey, number))
            return VmxBadKey;
    } else if (keyed) {
        key = searchKey.substr(0, std::size_t(widths_[std::size_t(indexField_[std::size_t(index - 1)])]));
    }
    // Where the position stands against the search key: < 0 before it, 0 on it, > 0 after it.
    auto compareAt = [&] {
        if (index == 0)
            return pos.number < number ? -1 : (pos.number > number ? 1 : 0);
        return compareBytes(pos.key, key);
    };

    Query q = Query::First;
    switch (operation) {
    case VmxGetEqual: q = Query::ByPrimary; break;
    case VmxGetFirstEqual: q = Query::EqualFirst; break;
    case VmxGetNext:
        if (pos.kind == Position::Eof)
            return VmxNotFound;
        q = pos.kind == Position::Bof ? Query::First : Query::After;
        key = pos.key;
        number = pos.number;
        break;
    case VmxGetPrevious:
        if (pos.kind == Position::Bof)
            return VmxNotFound;
        q = pos.kind == Position::Eof ? Query::Last : Query::Before;
        key = pos.key;
        number = pos.number;
        break;
    case VmxGetNextEqual:
        if (pos.kind == Position::Eof || (pos.kind == Position::At && compareAt() > 0))
            return VmxNotFound;
        q = pos.kind == Position::At && compareAt() == 0 ? Query::EqualAfter : Query::EqualFirst;
        if (q == Query::EqualAfter)
            number = pos.number;
        break;
    case VmxGetPreviousEqual:
        if (pos.kind == Position::Bof || (pos.kind == Position::At && compareAt() < 0))
            return VmxNotFound;
        q = pos.kind == Position::At && compareAt() == 0 ? Query::EqualBefore : Query::EqualLast;
        if (q == Query::EqualBefore)
            number = pos.number;
        break;
    }
    if (index == 0) {
        // Primary keys are unique: the one record with the key, or none beside it.
        if (q == Query::EqualFirst || q == Query::EqualLast)
            q = Query::ByPrimary;
        else if (q == Query::EqualAfter || q == Query::EqualBefore)
            return VmxNotFound;
    }

    // On a secondary index the record after (before) a position is the next (previous) one with
    // the same key, else the first (last) one with a greater (smaller) key.
    Query then = q;
    if (index > 0 && q == Query::After)
        q = Query::EqualAfter, then = Query::Greater;
    else if (index > 0 && q == Query::Before)
        q = Query::EqualBefore, then = Query::Less;

    Statement* s = nullptr;
    if (std::int16_t status = query(index, q, key, number, s); status != VmxOk)
        return status;
    ResetOnExit reset{s->get()};
    int rc = sqlite3_step(s->get());
    if (rc == SQLITE_DONE && then != q) {
        sqlite3_reset(s->get());
        if (std::int16_t status = query(index, then, key, number, s); status != VmxOk)
            return status;
        rc = sqlite3_step(s->get());
    }
    ResetOnExit resetThen{s->get()};
    sqlite3_stmt* stmt = s->get();
    if (rc == SQLITE_DONE)
        return VmxNotFound;
    if (rc != SQLITE_ROW)
        return statusFromSqlite(rc);

    // Only a successful read touches the caller's buffers and the position.
    VmxRecord fields(widths_.size());
    for (std::size_t f = 0; f < fields.size(); ++f)
        fields[f] = columnBytes(stmt, int(f) + 3);
    Position now{Position::At, index == 0 ? std::string() : columnBytes(stmt, 2), sqlite3_column_double(stmt, 1)};
    primaryKey = columnBytes(stmt, 0);
    indexKey = index == 0 ? primaryKey : now.key;
    record = std::move(fields);
    positions_[std::size_t(index)] = std::move(now);
    return VmxOk;
}

std::int16_t Store::put(const std::string& key, const VmxRecord& record, int mode)
{
    if (mode != VmxAdd && mode != VmxReplace)
        return VmxBadOperation;
    double number = 0;
    if (key.size() > std::size_t(keyLength_) || !keyValue(key, number))
        return VmxBadKey;
    if (record.size() > widths_.size())
        return VmxBadRecord;

    Statement& s = mode == VmxAdd ? insert_ : update_;
    if (!s.get()) {
        std::string sql;
        if (mode == VmxAdd) {
            sql = "INSERT INTO vmx_record(knum, ktext";
            for (std::size_t f = 1; f <= widths_.size(); ++f)
                sql += ", f" + std::to_string(f);
            sql += ") VALUES(?1, ?2";
            for (std::size_t f = 1; f <= widths_.size(); ++f)
                sql += ", ?" + std::to_string(f + 2);
            sql += ")";
        } else {
            sql = "UPDATE vmx_record SET ";
            for (std::size_t f = 1; f <= widths_.size(); ++f)
                sql += (f > 1 ? ", f" : "f") + std::to_string(f) + " = ?" + std::to_string(f + 2);
            sql += " WHERE knum = ?1";
        }
        if (std::int16_t status = prepare(sql, s); status != VmxOk)
            return status;
    }
    sqlite3_stmt* stmt = s.get();
    ResetOnExit reset{stmt};
    sqlite3_bind_double(stmt, 1, number);
    if (mode == VmxAdd)
        bindBytes(stmt, 2, key);
    static const std::string empty;
    for (std::size_t f = 0; f < widths_.size(); ++f)
        bindBytes(stmt, int(f) + 3, f < record.size() ? record[f] : empty);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        return statusFromSqlite(rc);
    if (sqlite3_changes(db_) == 0)
        return VmxNotFound;
    if (mode == VmxAdd)
        ++count_;
    return VmxOk;
}

std::int16_t Store::remove(const std::string& key)
{
    double number = 0;
    if (!keyValue(key, number))
        return VmxBadKey;
    if (!delete_.get()) {
        if (std::int16_t status = prepare("DELETE FROM vmx_record WHERE knum = ?1", delete_); status != VmxOk)
            return status;
    }
    sqlite3_stmt* stmt = delete_.get();
    ResetOnExit reset{stmt};
    sqlite3_bind_double(stmt, 1, number);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        return statusFromSqlite(rc);
    if (sqlite3_changes(db_) == 0)
        return VmxNotFound;
    --count_;
    return VmxOk;
}

} // namespace vmx
