#pragma once
// The keyed record library that keeps the logbook: one file of records, each a fixed list of
// text fields under a primary key, with secondary indexes on the fields that the field
// specification marks. The file is an SQLite database marked as ours; every write is its own
// atomic transaction, so a process killed right after VmxPut loses nothing that was put, and
// VmxFlush makes everything durable on disk as well.
//
// Texts are byte strings (Windows-1252, one character per byte); the library never converts them.
// Every call returns a status, 0 for success (see VmxStatus). Calls are made from one thread.
#include <cstdint>
#include <string>
#include <vector>

// One record: its fields in the order of the field specification. A read fills exactly as
// many fields as the file has; a write may give fewer (the rest are stored empty), never more.
using VmxRecord = std::vector<std::string>;

enum VmxStatus : std::int16_t {
    VmxOk = 0,
    VmxNotFound = 1,       // no record matches, or a walk reached the end of its index
    VmxDuplicateKey = 2,   // an add under a primary key that is already stored
    VmxBadHandle = 3,      // not the handle of an open file
    VmxBadIndex = 4,       // no such index in this file
    VmxBadOperation = 5,   // unknown read operation or write mode
    VmxBadKey = 6,         // a primary key that is empty, not a number, or too long
    VmxBadRecord = 7,      // more fields than the file holds
    VmxNotOurFile = 8,     // the file exists but is not one of our record files
    VmxDamaged = 9,        // the file is ours but its contents are damaged
    VmxLocked = 10,        // another program (or another handle) has the file open
    VmxAccessDenied = 11,  // no permission to read or write the file or its folder
    VmxDiskFull = 12,
    VmxFileMissing = 13,   // the file does not exist (only this; VmxOpen never creates)
    VmxFileExists = 14,    // VmxCreate refuses to replace a file
    VmxFileOpen = 15,      // VmxKill refuses a file that is open
    VmxBadFieldSpec = 16,
    VmxBadParameter = 17,
    VmxNewerVersion = 18,  // written by a newer version of the program
    VmxReadOnly = 19,      // the file or its file system is write-protected
    VmxPathMissing = 20,   // the folder of the file does not exist
    VmxIoError = 21,
    VmxOutOfMemory = 22,
    VmxInternalError = 23,
};

// Read operations of VmxGet.
enum VmxOperation : std::int16_t {
    VmxGetEqual = 0,        // the record whose primary key equals the search key
    VmxGetFirstEqual = 1,   // the first record whose key in the index equals the search key
    VmxGetNext = 2,         // the next record after the index's position
    VmxGetPrevious = 4,     // the record before the index's position
    VmxGetNextEqual = 34,   // the next record after the position whose key equals the search key
    VmxGetPreviousEqual = 36, // the record before the position whose key equals the search key
};

// Write modes of VmxPut.
enum VmxPutMode : std::int16_t {
    VmxAdd = 1,      // add under a new primary key; VmxDuplicateKey when it is stored already
    VmxReplace = 2,  // replace the record stored under the key; VmxNotFound when there is none
};

struct VmxInfoRecord {
    std::int32_t RecordCount = 0;
    std::int32_t FieldCount = 0;
    std::int32_t IndexCount = 0;   // secondary indexes (index 0, the primary index, not counted)
    std::int32_t KeyLength = 0;    // longest primary key text accepted
    std::int32_t FormatVersion = 0;
    std::int32_t Reserved = 0;
    std::string Path;
    std::string FieldSpec;
};

// Opens an existing file; `handle` receives its handle (0 when the open fails). The two mode
// numbers and the access string are accepted for the callers' sake and select nothing.
// VmxFileMissing only when the file does not exist; a file that is not ours, damaged, locked or
// unreadable gets another status and is left exactly as it was.
std::int16_t VmxOpen(const std::string& path, std::int16_t mode1, std::int16_t mode2,
                     std::int32_t& handle, const std::string& accessString);

// Creates an empty file: keyLength is the longest primary key text (1..255), the three numbers
// after it must be 0, the field specification lists one entry per field: "$" for a text field,
// "X" + width + "$" for a text field with a secondary index on its first `width` characters.
// The file is built beside its final name and renamed into place; an existing file is refused.
std::int16_t VmxCreate(const std::string& path, std::int16_t keyLength, std::int16_t reserved1,
                       std::int16_t reserved2, std::int16_t reserved3, const std::string& fieldSpec);

std::int16_t VmxInfo(std::int32_t handle, VmxInfoRecord& info);

// Positions an index before its first record or after its last one. Index 0 is the primary
// index (keys in the order of the numbers they spell); 1.. are the secondary indexes in field order
// (keys are the first `width` bytes of the field, compared byte by byte; equal keys come in
// primary-key order).
std::int16_t VmxBOF(std::int32_t handle, std::int16_t index);
std::int16_t VmxEOF(std::int32_t handle, std::int16_t index);

// Reads one record. On success `record` receives its fields, `indexKey` its key in the index
// read and `primaryKey` its primary key as it was put, and the index's position moves to it.
// On any failure the record, both key texts and the position stay as they were. The search key
// is ignored by operations 2 and 4; for the secondary indexes it is cut to the index's width.
std::int16_t VmxGet(std::int32_t handle, std::int16_t index, std::int16_t operation,
                    const std::string& searchKey, std::string& indexKey, std::string& primaryKey,
                    VmxRecord& record);

// Primary keys are texts of decimal numbers (blanks round them ignored): two texts that spell
// the same number are the same key, and the key text is kept as put.
std::int16_t VmxPut(std::int32_t handle, const std::string& key, const VmxRecord& record,
                    std::int16_t mode);
std::int16_t VmxDelete(std::int32_t handle, const std::string& key);

// Writes everything into the main file and syncs it to disk.
std::int16_t VmxFlush(std::int32_t handle);

// Closes the file (writes are kept); the handle is no longer valid.
std::int16_t VmxClose(std::int32_t handle);

// Deletes a closed file of ours together with its "-wal" and "-shm" companions. Refuses a file
// that is open here or elsewhere, and a file that is not ours.
std::int16_t VmxKill(const std::string& path);

// A clear English text for a status.
std::string VmxReturnCode(std::int16_t status);
