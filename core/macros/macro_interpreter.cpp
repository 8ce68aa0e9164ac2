// The macro interpreter: the token passes in their fixed order, the typing loop and the end of a
// run. The effect of each token lives with its family (macro_commands, macro_substitutions,
// macro_actions).
#include "core/macros/macro_interpreter.h"

#include "core/macros/macro_hooks.h"
#include "core/macros/macro_services.h"
#include "core/macros/macro_tokens.h"
#include "core/transmit/txtyping.h"
#include "platform/system/events.h"
#include "platform/vb/text1252.h"
#include "state/declarations.h"
#include "state/psk_api.h"

#include <exception>

namespace {

// Pass order. Argument tokens are written without their closing "$".
const QStringList kOrder = {
    "$qsx", "$simplex$", "$align$", "$bpsk$", "$qpsk$", "$qpsk-i$", "$rtty$", "$rtty-i$",
    "$transmit$", "$receive$", "$mode$", "$rttybpfon$", "$rttybpfoff$", "$rttysquelchon$",
    "$rttysquelchoff$", "$rttynormal$", "$rttyreverse$", "$rttyfigures$", "$rttyletters$",
    "$rttysetup$", "$rttymarkfrequency$", "$rxtonefreq$", "$radioandtone$", "$radiofreq$",
    "$ascii", "$qsy", "$command", "$hexcommand", "$mycall$", "$call$", "$hisrst$", "$serialnum$",
    "$myrst$", "$band$", "$comment$", "$net$", "$afc$", "$name$", "$numqsos$", "$lastqsodate$",
    "$lastqsotime$", "$lastqsoband$", "$lastqsomode$", "$qth$", "$starttime$", "$version$",
    "$upperorlower$", "$cwid$", "$longdateandtime$", "$shortdateandtime$", "$shortdate$",
    "$longdate$", "$longtime$", "$shorttime$", "$cd$", "$up$", "$down$", "$rttyshift$", "$loop$",
    "$file$", "$log$", "$logimmediate$", "$clearlog$", "$clearbuffers$", "$cleartxbuffer$",
    "$page$", "$previous$", "$cw$",
};

const macro::TokenTable& tokens()
{
    static const macro::TokenTable table = [] {
        macro::TokenTable t;
        macro::AddCommandTokens(t);
        macro::AddSubstitutionTokens(t);
        macro::AddActionTokens(t);
        return t;
    }();
    return table;
}

// Counts macro runs; a run that finds the count moved on was overtaken by a newer macro.
int g_runs = 0;

int find(const QString& token, qsizetype from)
{
    return static_cast<int>(MacroBuffer.indexOf(token, from, Qt::CaseInsensitive));
}

// Where the next search of a pass starts: at the beginning, unless the text that took the
// token's place holds the token again, which would otherwise be found for ever.
qsizetype nextSearch(const QString& token, int position, const QString& replacement)
{
    return replacement.contains(token, Qt::CaseInsensitive) ? position + replacement.size() : 0;
}

// One pass of a token without argument. False when a newer macro took over during an action.
bool closedPass(const QString& token, const macro::TokenAction& action, const macro::RunContext& run, int me)
{
    if (action.active && !action.active())
        return true;
    qsizetype from = 0;
    for (int pos = find(token, from); pos >= 0; pos = find(token, from)) {
        QString replacement;
        if (action.removeFirst) {
            ReplaceAtPos(token, pos + 1, QString());
            macro::Guarded([&] { action.closed(run); });
        } else {
            macro::Guarded([&] { replacement = action.closed(run); });
            if (g_runs != me)
                return false;
            ReplaceAtPos(token, pos + 1, replacement);
        }
        if (g_runs != me)
            return false;
        from = nextSearch(token, pos, replacement);
    }
    return true;
}

// One pass of a token whose argument runs up to the next "$"; without that "$" the token stays.
bool argumentPass(const QString& token, const macro::TokenAction& action, const macro::RunContext& run, int me)
{
    qsizetype from = 0;
    for (int pos = find(token, from); pos >= 0; pos = find(token, from)) {
        const qsizetype close = MacroBuffer.indexOf(u'$', pos + 1);
        if (close < 0)
            return true;
        const QString argument = MacroBuffer.mid(pos + token.size(), close - pos - token.size());
        const QString whole = MacroBuffer.mid(pos, close - pos + 1);
        QString replacement;
        macro::Guarded([&] { replacement = action.withArgument(run, argument); });
        if (g_runs != me)
            return false;
        ReplaceAtPos(whole, pos + 1, replacement);
        from = nextSearch(token, pos, replacement);
    }
    return true;
}

// The characters left after the passes, one by one into the transmitter.
// False when a newer macro took over.
bool typeBuffer(int me)
{
    if (MacroBuffer.isEmpty())
        return true;
    AbortMacro = false;
    BusyPointer busy;
    const qsizetype length = MacroBuffer.size();
    for (qsizetype i = 0; i < length; ++i) {
        MacroHooks().Yield();
        if (g_runs != me)
            return false;
        if (events::ProgramClosing())
            break;
        // The buffer may have been emptied meanwhile (a transmit abort); then nothing is left.
        if (i < MacroBuffer.size()) {
            const int byte = cp1252::byteOf(MacroBuffer[i]);
            std::int16_t code = static_cast<std::int16_t>(byte < 0 ? '?' : byte);
            TypeCharToTxWindow(code);
        }
        if (AbortMacro)
            break;
    }
    return true;
}

} // namespace

namespace macro {

bool Guarded(const std::function<void()>& step)
{
    try {
        step();
        return true;
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace macro

const QStringList& MacroTokenOrder()
{
    return kOrder;
}

void ReplaceAtPos(const QString& token, int position, const QString& replacement)
{
    const qsizetype at = position - 1;
    MacroBuffer = MacroBuffer.left(at) + replacement + MacroBuffer.mid(at + token.size());
}

void ExpandAndSendMacro(std::int16_t& index)
{
    ExpandAndSendMacro(static_cast<int>(index));
}

void ExpandAndSendMacro(int index)
{
    if (index < 0 || index > kMacroCount)
        return;
    const int me = ++g_runs;
    ReceiveAfterTx = false;
    MacroBuffer = MacroTexts[static_cast<std::size_t>(index)];
    const macro::RunContext run{index};
    const macro::TokenTable& table = tokens();
    for (const QString& token : kOrder) {
        bool current = true;
        if (token == QLatin1String("$file$"))
            macro::Guarded(macro::FileToken);
        else if (token == QLatin1String("$cw$"))
            macro::Guarded(macro::CwToken);
        else if (const auto it = table.constFind(token); it != table.constEnd())
            current = it->withArgument ? argumentPass(token, *it, run, me) : closedPass(token, *it, run, me);
        if (!current || g_runs != me)
            return;
    }
    if (!typeBuffer(me))
        return;
    if (ReceiveAfterTx) {
        if (PSKModeActive)
            APIResult = Psk().fnSendTXCharacter(1, -1);
        else
            RTTYStopPending = true;
    }
}
