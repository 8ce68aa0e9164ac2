// Tokens that act on the logbook and its windows, look a call sign up, repeat the macro, or pull
// a text file into it.
#include "core/macros/macro_hooks.h"
#include "core/macros/macro_services.h"
#include "core/macros/macro_tokens.h"
#include "core/transmit/txhooks.h"
#include "logbook/qso/qso_panel.h"
#include "logbook/windows/logbook_windows.h"
#include "platform/system/events.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vberror.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <cerrno>
#include <cstdio>
#include <limits>

namespace macro {

namespace {

constexpr std::int32_t kRepeatBackColor = 12632319; // light red: a repeat is armed
constexpr std::int16_t kRepeatSeconds = 4;

// A token that leaves the text before it acts.
TokenAction action(std::function<void()> act)
{
    TokenAction a;
    a.removeFirst = true;
    a.closed = [act = std::move(act)](const RunContext&) {
        act();
        return QString();
    };
    return a;
}

bool panelShown()
{
    return !MainWindow().vsElastic3->isHidden();
}

} // namespace

QString readTextFile(const QString& name, VbError& error)
{
    errno = 0;
    std::FILE* f = std::fopen(QFile::encodeName(name).constData(), "rb");
    if (!f) {
        error = vberror::fromErrno(errno);
        return QString();
    }
    QByteArray bytes;
    for (;;) {
        MacroHooks().Yield();
        if (AbortMacro || events::ProgramClosing())
            break;
        const int c = std::fgetc(f);
        if (c == EOF) {
            if (std::ferror(f))
                error = vberror::fromErrno(errno);
            break;
        }
        bytes.append(static_cast<char>(c));
    }
    std::fclose(f);
    return AbortMacro ? QString() : cp1252::decode(bytes);
}

void AddActionTokens(TokenTable& t)
{
    t.insert("$log$", action([] { LogAfterTx = true; }));
    t.insert("$logimmediate$", action([] {
        if (panelShown())
            TxHooks().LogAndClear();
        else
            TxHooks().SendToLogger(QStringLiteral("LogQSO"));
    }));
    t.insert("$clearlog$", action([] {
        if (panelShown())
            ClearButton_Click();
        else
            TxHooks().SendToLogger(QStringLiteral("Clear"));
    }));
    t.insert("$page$", action([] {
        if (panelShown())
            PageButton_Click();
    }));
    t.insert("$previous$", action([] {
        if (panelShown())
            PreviousButton_Click();
    }));

    TokenAction cd;
    cd.closed = [](const RunContext&) {
        MainWindowControls& w = MainWindow();
        if (w.mnu(QStringLiteral("mnuAutoCDLookup")).enabled() && w.CallsignBox->text().size() > 2) {
            LogbookWindows().UnloadCDDisplay();
            LogbookWindows().DoCDLookup();
        }
        return QString();
    };
    t.insert("$cd$", cd);

    t.insert("$loop$", [] {
        TokenAction a;
        a.removeFirst = true;
        a.closed = [](const RunContext& run) {
            MainWindow().Tx->setBackColor(kRepeatBackColor);
            // The wait stops growing where the counter ends, rather than wrapping round.
            if (LoopCountdown <= std::numeric_limits<std::int16_t>::max() - kRepeatSeconds)
                LoopCountdown = static_cast<std::int16_t>(LoopCountdown + kRepeatSeconds);
            LoopMacroIndex = static_cast<std::int16_t>(run.index);
            return QString();
        };
        return a;
    }());
}

void FileToken()
{
    const QString token = QStringLiteral("$file$");
    const qsizetype at = MacroBuffer.indexOf(token, 0, Qt::CaseInsensitive);
    if (at < 0)
        return;
    const qsizetype nameStart = at + token.size();
    if (MacroBuffer.indexOf(u'\r', nameStart) < 0)
        MacroBuffer += QStringLiteral("\r\n");
    const qsizetype lineEnd = MacroBuffer.indexOf(u'\r', nameStart);
    const QString name = vb::Trim(MacroBuffer.mid(nameStart, lineEnd - nameStart));

    VbError error;
    QString contents;
    if (!name.isEmpty() && QFileInfo(name).isFile()) {
        BusyPointer busy;
        AbortMacro = false;
        contents = readTextFile(name, error);
    } else {
        dlg::MsgBox(name.toUpper() + QStringLiteral(" : File not found"), dlg::OKOnly);
    }
    MacroBuffer = MacroBuffer.left(at) + contents + MacroBuffer.mid(lineEnd);
    if (error.number != 0)
        dlg::MsgBox(name.toUpper() + QStringLiteral(" : ") + error.text(), dlg::OKOnly);
}

} // namespace macro
