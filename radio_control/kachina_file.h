#pragma once
// The radio data file of the Kachina 505: a 23-byte record that a program beside the
// radio keeps in step with it. Frequencies are 32-bit hertz, least significant byte first.
#include <QByteArray>
#include <QString>
#include <optional>

namespace varnel::kachina {

constexpr int kRecordSize = 23;

// The first 23 bytes of the file (fewer when it is shorter); nullopt when it does not exist
// or cannot be read.
std::optional<QByteArray> readRecord(const QString& path);

struct RecordValues {
    QString freqText; // kHz with three decimals; empty when the record is too short
    QString mode;     // empty when too short or the code is not known
};
RecordValues parseRecord(const QByteArray& record);

// kHz with exactly three decimals and no leading zeros ("14070.150", ".500").
QString threeDecimals(quint32 hertz);

// Writes `hertz` into the record in place: the frequency at bytes 3..6, 13..16 and 17..20;
// every other byte, the mode byte among them, is kept as the file has it (zeros where the
// file is shorter or missing). The file is never shortened. Returns the record written, or
// the reason it could not be written.
struct WriteResult {
    QByteArray record;
    QString error; // empty on success
};
WriteResult writeFrequency(const QString& path, quint32 hertz);

} // namespace varnel::kachina
