// Choosing the sound card by name. ALSA is given a private configuration with one device that
// discards what it plays and records silence, so the test needs no sound card.
#include <gtest/gtest.h>

#include <QTemporaryDir>
#include <QFile>

#include <cstdlib>
#include <string>

#include "engines/sound/audio.h"

namespace {

class SoundDeviceByName : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(home_.isValid());
        QFile rc(home_.filePath(".asoundrc"));
        ASSERT_TRUE(rc.open(QIODevice::WriteOnly));
        rc.write("pcm.sondrel_radio_interface {\n  type null\n  hint { show on description \"Radio\" }\n}\n");
        rc.close();
        const char* h = std::getenv("HOME");
        oldHome_ = h ? h : "";
        setenv("HOME", home_.path().toLocal8Bit().constData(), 1);
    }
    void TearDown() override
    {
        setenv("HOME", oldHome_.c_str(), 1);
        unsetenv("SONDREL_AUDIO");
    }
    int openWith(const char* spec)
    {
        setenv("SONDREL_AUDIO", spec, 1);
        auto dev = sound::makeAudioDevice(-1);
        int rc = dev->open();
        if (rc == 0) {
            float block[256] = {};
            rc = dev->read(block, 256);
            if (rc == 0)
                rc = dev->write(block, 256);
        }
        dev->close();
        return rc;
    }

    QTemporaryDir home_;
    std::string oldHome_;
};

TEST_F(SoundDeviceByName, PicksTheDeviceWhoseNameContainsTheTextOrListsThem)
{
    struct Case {
        const char* spec;
        int rc;
        const char* inMessage;
    } cases[] = {
        {"device:radio_INTERFACE", 0, ""},
        {"device:sondrel", 0, ""},
        {"device:USB Audio CODEC", 21, "No capture or playback sound device has \"USB Audio CODEC\" in its name"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.spec);
        EXPECT_EQ(openWith(c.spec), c.rc);
        const std::string said = sound::takeAudioError();
        EXPECT_NE(said.find(c.inMessage), std::string::npos) << said;
        if (c.rc != 0) {
            EXPECT_NE(said.find("sondrel_radio_interface (capture and playback)"), std::string::npos) << said;
            EXPECT_NE(said.find("SONDREL_AUDIO=device:NAME"), std::string::npos) << said;
        }
    }
}

} // namespace
