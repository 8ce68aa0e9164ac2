#include "core/macros/macro_store.h"

#include "core/macros/macro_services.h"
#include "platform/system/inifile.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "settings/inistuff.h"
#include "state/declarations.h"

QString ActiveMacroSection()
{
    return PSKModeActive ? kPskMacroSection : kRttyMacroSection;
}

QString MacroTextToStore(const QString& text)
{
    QString out;
    out.reserve(text.size());
    for (QChar c : text) {
        if (c == u'\n')
            continue;
        out += c == u'\r' ? QChar(u'~') : c;
    }
    return out;
}

QString ReadStoredMacroText(const QString& section, int n)
{
    if (INIPath.isEmpty())
        return QString();
    // One more than the limit, so that a text of exactly the limit reads back whole.
    QString value = ini::read(INIPath, section, MacroKey("Macro #", n), QString(), kMacroTextLimit + 1);
    return StripNull(value);
}

QString MacroCaptionRule(const QString& caption)
{
    QString result = caption;
    const qsizetype open = caption.indexOf(QStringLiteral("Chr$("), 0, Qt::CaseInsensitive);
    if (open >= 0 && caption.indexOf(u')', open + 5) >= 0) {
        try {
            const std::int16_t code = vb::CInt(vb::Val(caption.mid(open + 5)));
            if (code >= 1 && code <= 255)
                result = QString(cp1252::charOf(static_cast<unsigned char>(code)));
        } catch (const vb::OverflowError&) {
            // no character code: the caption stays as typed
        }
    }
    return result.isEmpty() ? QStringLiteral(" ") : result;
}

void ShowMacroTooLong(int length)
{
    dlg::MsgBox(QStringLiteral("Sorry, this Macro is awesome.  However it is ") + vb::Str(length)
                    + QStringLiteral(" characters long.  The maximum length is 3000 characters.  You don't want to "
                                     "bore the other station to death (do you?)."),
                dlg::OKOnly, QStringLiteral("Too verbose"));
}

void WriteMacroButton(const QString& section, int n, const QString& encodedText)
{
    const auto i = static_cast<std::size_t>(n);
    auto put = [&](const char* key, const QString& value) { WriteINI(section, MacroKey(key, n), value); };
    auto number = [](std::int32_t v) { return QString::number(v); };
    auto flag = [](bool b) { return b ? QStringLiteral("True") : QStringLiteral("False"); };
    put("Macro #", encodedText);
    put("Macro Caption #", MacroCaptions[i]);
    put("Macro BackColor #", number(MacroBackColor[i]));
    put("Macro MouseOver BackColor #", number(MacroMouseOverBackColor[i]));
    put("Macro ForeColor #", number(MacroForeColor[i]));
    put("Macro MouseOver ForeColor #", number(MacroMouseOverForeColor[i]));
    put("Macro Fontname #", MacroFontName[i]);
    put("Macro MouseOver Fontname #", MacroMouseOverFontName[i]);
    put("Macro Fontsize #", number(MacroFontSize[i]));
    put("Macro MouseOver Fontsize #", number(MacroMouseOverFontSize[i]));
    put("Macro Fontbold #", flag(MacroFontBold[i]));
    put("Macro MouseOver Fontbold #", flag(MacroMouseOverFontBold[i]));
    put("Macro Fontitalic #", flag(MacroFontItalic[i]));
    put("Macro MouseOver Fontitalic #", flag(MacroMouseOverFontItalic[i]));
}
