// Times start-up's settings work with the settings file of a full macro set (both sets, 36
// buttons of fourteen keys each: about 44 KB): loading every setting, and loading the macro set
// that the saved mode selects. Also the whole start-up to the main window, for scale.
#include "core/macros/macro_buttons.h"
#include "core/macros/macro_services.h"
#include "core/modes/modeselection.h"
#include "main_window/settings_loader/settings_loader.h"
#include "main_window/sondrel.h"
#include "platform/system/inifile.h"
#include "platform/widgets/scripted_dialogs.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

QByteArray fullMacroFile()
{
    QByteArray text = "[Settings]\r\nAFC On/Off=On\r\n[Mode]\r\nMode=BPSK\r\n";
    for (const char* section : {"Macro", "RTTY Macro"}) {
        text += QByteArray("[") + section + "]\r\n";
        for (int n = 0; n < 36; ++n) {
            const QByteArray i = QByteArray::number(n);
            text += "Macro #" + i + "=<CR><LF><CALL> de <MYCALL>~Thanks for the call. Name here is <MYNAME> and QTH "
                    "is <MYQTH>, locator <MYLOC>. Rig 100 W to a dipole.~How copy? <CALL> de <MYCALL> k~<RX>\r\n";
            text += "Macro Caption #" + i + "=CQ " + i + "\r\n";
            for (const char* key : {"Macro BackColor #", "Macro MouseOver BackColor #", "Macro ForeColor #",
                                    "Macro MouseOver ForeColor #"})
                text += key + i + "=12632256\r\n";
            for (const char* key : {"Macro Fontname #", "Macro MouseOver Fontname #"})
                text += key + i + "=MS Sans Serif\r\n";
            for (const char* key : {"Macro Fontsize #", "Macro MouseOver Fontsize #"})
                text += key + i + "=8\r\n";
            for (const char* key : {"Macro Fontbold #", "Macro MouseOver Fontbold #", "Macro Fontitalic #",
                                    "Macro MouseOver Fontitalic #"})
                text += key + i + "=False\r\n";
        }
    }
    return text;
}

void timeIt(const char* what, int runs, const std::function<void()>& f)
{
    std::vector<double> ms;
    for (int i = 0; i < runs; ++i) {
        const auto t0 = std::chrono::steady_clock::now();
        f();
        ms.push_back(std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count());
    }
    std::sort(ms.begin(), ms.end());
    std::printf("%-58s median %8.2f ms  worst %8.2f ms\n", what, ms[ms.size() / 2], ms.back());
}

} // namespace

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
    qputenv("SONDREL_AUDIO", "null");
    QApplication app(argc, argv);
    QTemporaryDir home;
    qputenv("SONDREL_HOME", QFile::encodeName(home.path()));
    const QString path = home.filePath("Sondrel.INI");
    const QByteArray file = fullMacroFile();
    {
        QFile f(path);
        f.open(QIODevice::WriteOnly);
        f.write(file);
    }
    dlg::ScriptedDialogs boxes;
    std::printf("settings file: %lld bytes, %lld lines\n", static_cast<long long>(QFileInfo(path).size()),
                static_cast<long long>(file.count('\n')));

    // Start-up step 15 and the macro set load of step 23. The first time, the handlers store
    // every key the file lacks (one replace of the whole file, flushed to the disk, per key);
    // after that the file is complete, as an operator's is, and a start only reads it.
    auto coldLoad = [&](const char* what) {
        { // another program touched the file: nothing of it is known
            QFile f(path);
            f.open(QIODevice::Append);
            f.write(";\r\n");
        }
        Sondrel::instance();
        const int reads = ini::fileReads();
        const int failures = SettingsWriteFailures();
        const auto c0 = std::chrono::steady_clock::now();
        LoadSettings();
        LoadMacroSet(kPskMacroSection);
        const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - c0).count();
        std::printf("%-58s %8.2f ms, file read %d time(s), %lld bytes%s\n", what, ms, ini::fileReads() - reads,
                    static_cast<long long>(QFileInfo(path).size()),
                    SettingsWriteFailures() == failures ? "" : " (WRITE FAILED)");
        Sondrel::destroyInstance();
    };
    coldLoad("first start with only the macro sets (keys written)");
    coldLoad("start-up settings work, full settings file");

    const int readsBefore = ini::fileReads();
    const auto t0 = std::chrono::steady_clock::now();
    const bool loaded = Sondrel::instance().Form_Load();
    const double startMs = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - t0).count();
    std::printf("%-58s %8.2f ms (%s), file read %d time(s)\n", "whole start-up to the main window (first)", startMs,
                loaded ? "loaded" : "FAILED", ini::fileReads() - readsBefore);

    // The settings work of start-up, again on the loaded program: the file unchanged on disk.
    timeIt("settings work: every setting and the PSK macro set", 21, [] {
        LoadSettings();
        LoadMacroSet(kPskMacroSection);
    });
    timeIt("  every setting (LoadSettings)", 21, [] { LoadSettings(); });
    timeIt("  the PSK macro set (36 buttons x 14 keys)", 21, [] { LoadMacroSet(kPskMacroSection); });
    // Another program changed the file: each load reads it once more.
    timeIt("settings work with the file changed before each run", 21, [&] {
        QFile f(path);
        f.open(QIODevice::Append);
        f.write(";\r\n");
        f.close();
        LoadSettings();
        LoadMacroSet(kPskMacroSection);
    });
    std::printf("target: settings work under 100 ms\n");
    Sondrel::instance().Form_Unload();
    Sondrel::destroyInstance();
    return 0;
}
