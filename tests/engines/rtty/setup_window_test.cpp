// The toolbar's "Setup" (command 13) opens the engine's set-up window; OK keeps the settings
// in the current profile. A sound device that cannot be used is told in words, in the engine's
// window and to the program.
#include "engines/rtty/engine.h"
#include "engines/rtty/engine_view.h"
#include "engines/rtty/engine_window.h"
#include "engines/rtty/setup_window.h"
#include "platform/system/inifile.h"
#include "platform/processes/winmsg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QPushButton>
#include <QSpinBox>
#include <QTemporaryDir>
#include <cstring>
#include <gtest/gtest.h>

namespace {

class Sink : public QObject {
public:
    std::vector<std::pair<std::intptr_t, std::intptr_t>> got;
    bool event(QEvent* e) override
    {
        if (e->type() != win::WindowMessageEvent::eventType())
            return QObject::event(e);
        auto* m = static_cast<win::WindowMessageEvent*>(e);
        got.emplace_back(m->wParam(), m->lParam());
        return true;
    }
};

struct EngineWindowTest : ::testing::Test {
    QTemporaryDir dir;
    QString profiles = dir.filePath("UserPara.INI");
    std::vector<unsigned char> block = std::vector<unsigned char>(21204, 0);
    Sink program;
    win::WinHandle programHandle = 0;
    std::uint32_t msg = win::RegisterWindowMessage("MMTTY");
    void SetUp() override
    {
        std::memcpy(block.data() + 4, "Setup RTTY Engine", 18);
        programHandle = win::registerWindow(&program);
    }
    void TearDown() override { win::unregisterWindow(programHandle); }
};

TEST_F(EngineWindowTest, SetupCommandOpensTheWindowAndOkKeepsTheProfile)
{
    rtty::EngineWindow window(block.data(), profiles);
    const win::WinHandle me = window.open();
    ASSERT_NE(me, 0);
    win::PostMessage(me, msg, 0, programHandle);
    win::PostMessage(me, msg, 24, 4); // profile 4 (no settings yet)
    win::PostMessage(me, msg, 13, 0);
    QCoreApplication::sendPostedEvents();
    rtty::SetupWindow* setup = window.setupWindow();
    ASSERT_TRUE(setup);
    ASSERT_TRUE(setup->isVisible());
    EXPECT_TRUE(setup->windowTitle().contains("profile 4"));
    EXPECT_EQ(setup->findChild<QSpinBox*>("mark")->value(), 2125);
    EXPECT_DOUBLE_EQ(setup->findChild<QDoubleSpinBox*>("baud")->value(), 45.45);

    setup->findChild<QSpinBox*>("mark")->setValue(1275);
    setup->findChild<QDoubleSpinBox*>("baud")->setValue(50);
    setup->findChild<QComboBox*>("stopBits")->setCurrentIndex(2);
    setup->findChild<QSpinBox*>("pttPort")->setValue(7);
    setup->findChild<QComboBox*>("pttLine")->setCurrentIndex(1);
    setup->findChild<QCheckBox*>("uos")->setChecked(true);
    setup->findChild<QCheckBox*>("afc")->setChecked(false);
    setup->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    EXPECT_FALSE(setup->isVisible());

    struct Key {
        const char* key;
        const char* value;
    } keys[] = {{"Mark", "1275"}, {"Shift", "170"}, {"Baud", "50"}, {"StopBits", "2"},
                {"PTTPort", "7"}, {"PTTLine", "2"}, {"SoundDevice", "-1"}};
    for (const Key& k : keys)
        EXPECT_EQ(ini::read(profiles, "Define4", k.key, "?", 50), k.value) << k.key;
    const int sw = ini::read(profiles, "Define4", "Switches", "0", 50).toInt();
    EXPECT_TRUE(sw & rtty::kSwUos);
    EXPECT_FALSE(sw & rtty::kSwAfc);
    EXPECT_EQ(ini::read(profiles, "Define4", "Name", "?", 50), ""); // the name stays the program's

    // The program heard the new switch word and tones.
    QCoreApplication::sendPostedEvents();
    const auto heard = [&](std::intptr_t code, std::intptr_t value) {
        return std::find(program.got.begin(), program.got.end(), std::make_pair(code, value)) != program.got.end();
    };
    EXPECT_TRUE(heard(0x8007, 1275));
    EXPECT_TRUE(heard(0x8009, window.engine().switches()));

    // Another engine on the same file selects the profile with all of it.
    rtty::RttyEngine again(nullptr, profiles, [](int, std::int32_t) {});
    again.command(24, 4);
    const rtty::EngineSetup s = again.setup();
    EXPECT_DOUBLE_EQ(s.baud, 50);
    EXPECT_DOUBLE_EQ(s.stopBits, 2);
    EXPECT_EQ(s.pttPort, 7);
    EXPECT_EQ(s.pttLine, 2);
    EXPECT_TRUE(s.uos);
}

TEST_F(EngineWindowTest, SoundDeviceErrorsAreToldInWords)
{
    struct Case {
        const char* audio;
        const char* words;
    } cases[] = {
        {"file:/nonexistent/rtty.wav", "Sound device error: the recording \"/nonexistent/rtty.wav\" cannot be read"},
        {"nosuchsource", "Sound device error: "},
    };
    for (const Case& c : cases) {
        qputenv("SONDREL_AUDIO", c.audio);
        program.got.clear();
        rtty::EngineWindow window(block.data(), profiles);
        const win::WinHandle me = window.open();
        win::PostMessage(me, msg, 0, programHandle);
        QCoreApplication::sendPostedEvents();
        EXPECT_NE(window.startSound(), 0);
        QCoreApplication::sendPostedEvents();
        ASSERT_EQ(window.messages().size(), 1) << c.audio;
        EXPECT_TRUE(window.messages()[0].startsWith(c.words)) << window.messages()[0].toStdString();
        EXPECT_TRUE(window.view()->messages().contains(window.messages()[0]));
        // The program is told, and finds the words in the block.
        EXPECT_NE(std::find_if(program.got.begin(), program.got.end(), [](auto& m) { return m.first == 0x8020; }),
                  program.got.end());
        EXPECT_EQ(QString::fromLatin1(reinterpret_cast<const char*>(block.data() + rtty::kMessageOffset)),
                  window.messages()[0]);
        // What the words say to do works: the device put right, Setup's OK starts the sound.
        EXPECT_TRUE(window.messages()[0].contains("Setup button: its OK starts the sound again"));
        qputenv("SONDREL_AUDIO", "null");
        window.showSetup();
        window.setupWindow()->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
        EXPECT_TRUE(window.engine().soundRunning());
        window.engine().stop();
    }
    qunsetenv("SONDREL_AUDIO");
}

} // namespace
