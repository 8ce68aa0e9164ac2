// Recordings are read as they play: headers of every kind, and a file far larger than memory.
#include "engines/sound/audio.h"
#include "engines/sound/wavfile.h"

#include <gtest/gtest.h>
#include <QByteArray>
#include <QFile>
#include <QTemporaryDir>
#include <QtEndian>
#include <unistd.h>

namespace {

QByteArray le32(quint32 v) { QByteArray b(4, 0); qToLittleEndian(v, b.data()); return b; }
QByteArray le16(quint16 v) { QByteArray b(2, 0); qToLittleEndian(v, b.data()); return b; }

QByteArray fmt(quint16 format, quint16 channels, quint32 rate, quint16 bits)
{
    return "fmt " + le32(16) + le16(format) + le16(channels) + le32(rate) + le32(rate * channels * bits / 8)
           + le16(quint16(channels * bits / 8)) + le16(bits);
}

QByteArray wav(const QByteArray& chunks) { return "RIFF" + le32(quint32(4 + chunks.size())) + "WAVE" + chunks; }

QByteArray samples(std::initializer_list<qint16> s)
{
    QByteArray b;
    for (qint16 v : s)
        b += le16(quint16(v));
    return b;
}

TEST(WavStream, HeadersOfEveryKind)
{
    const QByteArray mono = fmt(1, 1, 8000, 16);
    const QByteArray three = samples({1, -2, 3});
    const struct {
        const char* what;
        QByteArray bytes;
        int rc;
        std::vector<std::int16_t> expect;
    } rows[] = {
        {"mono", wav(mono + "data" + le32(6) + three), 0, {1, -2, 3}},
        {"stereo: left channel", wav(fmt(1, 2, 8000, 16) + "data" + le32(8) + samples({5, 9, -5, 9})), 0, {5, -5}},
        {"odd chunk before fmt", wav("LIST" + le32(3) + QByteArray("abc\0", 4) + mono + "data" + le32(6) + three), 0, {1, -2, 3}},
        {"data longer than the file", wav(mono + "data" + le32(0xFFFFFFF0u) + three), 0, {1, -2, 3}},
        {"half a sample at the end", wav(mono + "data" + le32(7) + three + "x"), 0, {1, -2, 3}},
        {"65535 channels", wav(fmt(1, 65535, 8000, 16) + "data" + le32(6) + three), 0, {}},
        {"data before fmt", wav("data" + le32(6) + three + mono), 17, {}},
        {"44.1 kHz", wav(fmt(1, 1, 44100, 16) + "data" + le32(6) + three), 17, {}},
        {"8 bit", wav(fmt(1, 1, 8000, 8) + "data" + le32(6) + three), 17, {}},
        {"float", wav(fmt(3, 1, 8000, 16) + "data" + le32(6) + three), 17, {}},
        {"no channels", wav(fmt(1, 0, 8000, 16) + "data" + le32(6) + three), 17, {}},
        {"chunk size past the end", wav(mono + "junk" + le32(0xFFFFFFFFu) + three), 17, {}},
        {"not RIFF", QByteArray("RIFX") + le32(4) + "WAVE", 17, {}},
        {"empty", QByteArray(), 17, {}},
    };
    QTemporaryDir dir;
    for (const auto& r : rows) {
        SCOPED_TRACE(r.what);
        const QString path = dir.filePath("r.wav");
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(r.bytes);
        f.close();
        std::vector<std::int16_t> got;
        EXPECT_EQ(sound::readWav(path.toStdString(), got), r.rc);
        if (r.rc == 0) {
            EXPECT_EQ(got, r.expect);
        }
    }
    std::vector<std::int16_t> none;
    EXPECT_EQ(sound::readWav(dir.filePath("missing.wav").toStdString(), none), 21);
}

// A recording of 3 GB (sparse, so it costs no disk) opens at once as a sound source and plays
// from its start; reading it whole would take gigabytes and minutes.
TEST(WavStream, AHugeRecordingPlaysWithoutBeingReadWhole)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("huge.wav");
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(wav(fmt(1, 1, 8000, 16) + "data" + le32(0xFFFFFFF0u)) + samples({100, 200}));
        ASSERT_TRUE(f.resize(qint64(3) << 30));
    }
    sound::WavReader reader;
    ASSERT_EQ(reader.open(path.toStdString()), 0);
    EXPECT_EQ(reader.frames(), ((quint64(3) << 30) - 44) / 2); // to the end of the file
    std::int16_t first[4] = {};
    ASSERT_EQ(reader.read(first, 4), 4u);
    EXPECT_EQ(first[0], 100);
    EXPECT_EQ(first[1], 200);
    reader.rewind();
    ASSERT_EQ(reader.read(first, 1), 1u);
    EXPECT_EQ(first[0], 100);

    const QByteArray before = qgetenv("SONDREL_AUDIO");
    const QByteArray speed = qgetenv("SONDREL_AUDIO_SPEED");
    qputenv("SONDREL_AUDIO", "file:" + QFile::encodeName(path));
    qputenv("SONDREL_AUDIO_SPEED", "1000");
    auto device = sound::makeAudioDevice(-1);
    qputenv("SONDREL_AUDIO", before);
    qputenv("SONDREL_AUDIO_SPEED", speed);
    ASSERT_EQ(device->open(), 0);
    float block[256];
    ASSERT_EQ(device->read(block, 256), 0);
    EXPECT_EQ(block[0], 100.0f);
    EXPECT_EQ(block[1], 200.0f);
    EXPECT_EQ(block[2], 0.0f);
    device->close();
}

} // namespace
