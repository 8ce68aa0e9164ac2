// The record library's calls: handles of open files, and the texts of the statuses.
#include "logbook/store/vmx.h"

#include "logbook/store/vmx_format.h"
#include "logbook/store/vmx_store.h"

#include <cerrno>
#include <map>
#include <memory>
#include <sqlite3.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

struct Registry {
    std::map<std::int32_t, std::unique_ptr<vmx::Store>> open;
    std::int32_t lastHandle = 0;
};

Registry& registry()
{
    static Registry r;
    return r;
}

vmx::Store* storeOf(std::int32_t handle)
{
    auto& open = registry().open;
    auto it = open.find(handle);
    return it == open.end() ? nullptr : it->second.get();
}

// Whether the file is held by another connection, in this process or another one.
std::int16_t probeLock(const std::string& path)
{
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    std::int16_t status = vmx::statusFromSqlite(rc);
    if (status == VmxOk) {
        sqlite3_busy_timeout(db, 250);
        rc = sqlite3_exec(db, "PRAGMA locking_mode=EXCLUSIVE; BEGIN EXCLUSIVE; ROLLBACK;", nullptr, nullptr, nullptr);
        status = vmx::statusFromSqlite(rc);
    }
    sqlite3_close_v2(db);
    return status == VmxLocked ? status : std::int16_t(VmxOk);
}

} // namespace

std::int16_t VmxOpen(const std::string& path, std::int16_t, std::int16_t, std::int32_t& handle,
                     const std::string&)
{
    handle = 0;
    std::unique_ptr<vmx::Store> store;
    std::int16_t status = vmx::Store::open(path, store);
    if (status != VmxOk)
        return status;
    Registry& r = registry();
    handle = ++r.lastHandle;
    r.open.emplace(handle, std::move(store));
    return VmxOk;
}

std::int16_t VmxCreate(const std::string& path, std::int16_t keyLength, std::int16_t reserved1,
                       std::int16_t reserved2, std::int16_t reserved3, const std::string& fieldSpec)
{
    if (keyLength < 1 || keyLength > 255 || reserved1 != 0 || reserved2 != 0 || reserved3 != 0)
        return VmxBadParameter;
    return vmx::Store::create(path, keyLength, fieldSpec);
}

std::int16_t VmxInfo(std::int32_t handle, VmxInfoRecord& info)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->info(info) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxBOF(std::int32_t handle, std::int16_t index)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->setBof(index) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxEOF(std::int32_t handle, std::int16_t index)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->setEof(index) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxGet(std::int32_t handle, std::int16_t index, std::int16_t operation,
                    const std::string& searchKey, std::string& indexKey, std::string& primaryKey,
                    VmxRecord& record)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->get(index, operation, searchKey, indexKey, primaryKey, record) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxPut(std::int32_t handle, const std::string& key, const VmxRecord& record, std::int16_t mode)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->put(key, record, mode) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxDelete(std::int32_t handle, const std::string& key)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->remove(key) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxFlush(std::int32_t handle)
{
    vmx::Store* s = storeOf(handle);
    return s ? s->flush() : std::int16_t(VmxBadHandle);
}

std::int16_t VmxClose(std::int32_t handle)
{
    return registry().open.erase(handle) ? std::int16_t(VmxOk) : std::int16_t(VmxBadHandle);
}

std::int16_t VmxKill(const std::string& path)
{
    struct stat st;
    if (::stat(path.c_str(), &st) != 0)
        return errno == ENOENT ? std::int16_t(VmxFileMissing) : vmx::statusFromErrno(errno);
    if (!S_ISREG(st.st_mode))
        return VmxNotOurFile;
    for (const auto& [handle, store] : registry().open)
        if (store->isFile(st.st_dev, st.st_ino))
            return VmxFileOpen;
    // Never delete a file that is not ours, whatever the caller believes it is.
    if (std::int16_t s = vmx::checkHeader(path); s != VmxOk && s != VmxNewerVersion)
        return s;
    if (std::int16_t s = probeLock(path); s != VmxOk)
        return s;
    if (::unlink(path.c_str()) != 0)
        return vmx::statusFromErrno(errno);
    for (const char* companion : {"-wal", "-shm"}) {
        std::string p = path + companion;
        if (::unlink(p.c_str()) != 0 && errno != ENOENT)
            return vmx::statusFromErrno(errno);
    }
    vmx::syncFolderOf(path);
    return VmxOk;
}

std::string VmxReturnCode(std::int16_t status)
{
    switch (status) {
    case VmxOk: return "No error";
    case VmxNotFound: return "Record not found (or no more records)";
    case VmxDuplicateKey: return "A record with this key already exists";
    case VmxBadHandle: return "The logbook file is not open";
    case VmxBadIndex: return "There is no such index in the logbook file";
    case VmxBadOperation: return "Invalid read operation or write mode";
    case VmxBadKey: return "Invalid record key";
    case VmxBadRecord: return "The record has more fields than the logbook file";
    case VmxNotOurFile: return "The file is not a logbook file; it was left as it is";
    case VmxDamaged: return "The logbook file is damaged; it was left as it is";
    case VmxLocked: return "The logbook file is in use by another program";
    case VmxAccessDenied: return "Permission denied";
    case VmxDiskFull: return "Disk full";
    case VmxFileMissing: return "File not found";
    case VmxFileExists: return "The file already exists";
    case VmxFileOpen: return "The logbook file is open and cannot be deleted";
    case VmxBadFieldSpec: return "Invalid field specification";
    case VmxBadParameter: return "Invalid parameter";
    case VmxNewerVersion: return "The logbook file was written by a newer version of the program";
    case VmxReadOnly: return "The logbook file is read-only";
    case VmxPathMissing: return "Path not found";
    case VmxIoError: return "Device I/O error";
    case VmxOutOfMemory: return "Out of memory";
    case VmxInternalError: return "Internal error in the record library";
    default: return "Unknown record library status " + std::to_string(status);
    }
}
