// The macro buttons of a mode, from the settings file.
#include "core/macros/macro_buttons.h"
#include "core/macros/macro_services.h"
#include "core/macros/macro_store.h"
#include "core/macros/macrobutton.h"
#include "platform/vb/vbnum.h"
#include "settings/inistuff.h"
#include "state/main_window_controls.h"

namespace {

std::int32_t number(const QString& text)
{
    try {
        return vb::CLng(vb::Val(text));
    } catch (const vb::OverflowError&) {
        return 0;
    }
}

// "True"/"False" as stored; a number counts as True when it is not 0.
bool flag(const QString& text)
{
    if (text.compare(QLatin1String("True"), Qt::CaseInsensitive) == 0)
        return true;
    return vb::IsNumeric(text) && vb::Val(text) != 0;
}

// Buttons show their caption as it is: "&" is no keyboard accelerator here.
QString buttonText(const QString& caption)
{
    QString t = caption;
    t.replace(u'&', QStringLiteral("&&"));
    return t;
}

} // namespace

void LoadMacroSet(const QString& section)
{
    MainWindowControls* w = ExistingMainWindow();
    auto read = [&](const char* key, int i, const char* def) {
        return ReadINI(section, MacroKey(key, i), QString::fromLatin1(def));
    };
    for (int i = 1; i <= kMacroCount; ++i) {
        MacroTexts[i] = MacroTextFromStore(ReadStoredMacroText(section, i));
        MacroCaptions[i] = read("Macro Caption #", i, " ");
        MacroBackColor[i] = number(read("Macro BackColor #", i, "14671839"));
        MacroMouseOverBackColor[i] = number(read("Macro MouseOver BackColor #", i, "14671839"));
        MacroForeColor[i] = number(read("Macro ForeColor #", i, "0"));
        MacroMouseOverForeColor[i] = number(read("Macro MouseOver ForeColor #", i, "0"));
        MacroFontName[i] = read("Macro Fontname #", i, "MS Sans Serif");
        MacroMouseOverFontName[i] = read("Macro MouseOver Fontname #", i, "MS Sans Serif");
        MacroFontSize[i] = number(read("Macro Fontsize #", i, "8"));
        MacroMouseOverFontSize[i] = number(read("Macro MouseOver Fontsize #", i, "8"));
        MacroFontBold[i] = flag(read("Macro Fontbold #", i, "False"));
        MacroMouseOverFontBold[i] = flag(read("Macro MouseOver Fontbold #", i, "False"));
        MacroFontItalic[i] = flag(read("Macro Fontitalic #", i, "False"));
        MacroMouseOverFontItalic[i] = flag(read("Macro MouseOver Fontitalic #", i, "False"));
        if (!w || !w->Command1[static_cast<std::size_t>(i)])
            continue;
        MacroButton* b = w->Command1[static_cast<std::size_t>(i)];
        b->setText(buttonText(MacroCaptions[i]));
        const ButtonLook normal{MacroBackColor[i], MacroForeColor[i], MacroFontName[i],
                                static_cast<int>(MacroFontSize[i]), MacroFontBold[i], MacroFontItalic[i]};
        const ButtonLook over{MacroMouseOverBackColor[i], MacroMouseOverForeColor[i], MacroMouseOverFontName[i],
                              static_cast<int>(MacroMouseOverFontSize[i]), MacroMouseOverFontBold[i],
                              MacroMouseOverFontItalic[i]};
        b->setLooks(normal, over);
    }
}
