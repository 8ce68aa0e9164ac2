#pragma once
// Windows-1252: one character is one byte wherever text crosses to an engine, a serial port,
// the settings file or a text file.
#include <QByteArray>
#include <QString>

namespace cp1252 {

// Bytes to text; every byte maps to one character (undefined codes map to U+0080..U+009F alike).
QString decode(const QByteArray& bytes);
QString decode(const char* data, qsizetype size);

// Text to bytes; a character with no Windows-1252 byte becomes '?'.
QByteArray encode(const QString& text);

// One character's byte, or -1 when it has none.
int byteOf(QChar c);
QChar charOf(unsigned char byte);

} // namespace cp1252

namespace vb {
// Blanks only, as VB's Trim, LTrim and RTrim (tabs and line breaks stay).
QString Trim(const QString& s);
QString LTrim(const QString& s);
QString RTrim(const QString& s);
} // namespace vb
