#include "settings/appliers.h"

#include "platform/vb/units.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "settings/ini_values.h"
#include "settings/inistuff.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <functional>

namespace {

MenuItem* item(const char* name)
{
    MainWindowControls* w = ExistingMainWindow();
    return w ? &w->mnu(QString::fromLatin1(name)) : nullptr;
}

void click(const char* name)
{
    if (MenuItem* m = item(name))
        m->click();
}

struct Word {
    const char* text;
    std::function<void()> apply;
};

// Applies the first word that matches; false when none does.
bool applyWord(const QString& value, std::initializer_list<Word> words)
{
    for (const Word& w : words)
        if (value == QLatin1String(w.text)) {
            w.apply();
            return true;
        }
    return false;
}

// "<name> True" / "<name> False" restore a switch through its handler.
Word phraseOn(const char* text, const char* menuItem)
{
    return {text, [menuItem] { RestoreSwitch(menuItem, true); }};
}
Word phraseOff(const char* text, const char* menuItem)
{
    return {text, [menuItem] { RestoreSwitch(menuItem, false); }};
}

const std::initializer_list<const char*> kDialItems = {"mnuRadioAuto", "mnuAudioFreq", "mnuSimulatedRadio1",
                                                       "mnuSimulatedRadio2", "mnuSimulatedRadio3",
                                                       "mnuSimulatedRadio4"};
const std::initializer_list<const char*> kMacroItems = {"mnuNoMacros", "mnu12Macros", "mnu24Macros", "mnu36Macros"};

template <class Set> void eachPanelBox(Set set)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    for (QWidget* box : {static_cast<QWidget*>(w->CallsignBox), static_cast<QWidget*>(w->NameBox),
                         static_cast<QWidget*>(w->QTHBox), static_cast<QWidget*>(w->MyRSTBox),
                         static_cast<QWidget*>(w->HisRSTBox), static_cast<QWidget*>(w->BandBox),
                         static_cast<QWidget*>(w->NotesBox)})
        if (box)
            set(box);
}

void setBoxColour(QPalette::ColorRole role, std::int32_t colour)
{
    const QColor c = rgb::toColor(colour);
    eachPanelBox([&](QWidget* box) {
        QPalette p = box->palette();
        p.setColor(role, c);
        box->setPalette(p);
    });
}

} // namespace

void ShowINIValueError(const QString& part, const QString& value)
{
    dlg::MsgBox(QStringLiteral("Error reading '") + part + QStringLiteral("' part of the .INI file.  ") + value
                    + QStringLiteral(" does not appear to be a valid entry"),
                dlg::OKOnly, QStringLiteral(".INI Error"));
}

void RestoreSwitch(const char* name, bool on)
{
    MenuItem* m = item(name);
    if (!m)
        return;
    m->setChecked(!on);
    m->click();
    if (m->checked() == !on) // no handler attached: the mark still shows the state
        m->setChecked(on);
}

void Choose(const char* name, std::initializer_list<const char*> sisters)
{
    MenuItem* m = item(name);
    if (!m)
        return;
    m->click();
    if (m->checked())
        return;
    for (const char* sister : sisters)
        if (MenuItem* s = item(sister))
            s->setChecked(false);
    m->setChecked(true);
}

void ApplySettingsPhrase(const QString& value)
{
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    if (value == QLatin1String("Net On")) {
        w->NetBox->setText(QStringLiteral("Net On"));
        NetOn = true;
        return;
    }
    if (value == QLatin1String("Net Off")) {
        w->NetBox->setText(QStringLiteral("Net Off"));
        WriteINI(QStringLiteral("Settings"), QStringLiteral("Net"), QStringLiteral("Net Off"));
        NetOn = false;
        return;
    }
    const bool known = applyWord(value, {
        {"No Smoothing", [] { click("mnuFastDisplay"); }},
        {"Medium Smoothing", [] { click("mnuMediumDisplay"); }},
        {"Heavy Smoothing", [] { click("mnuSlowDisplay"); }},
        {"37 WPM", [] { click("mnu37WPM"); }},
        {"19 WPM", [] { click("mnu19WPM"); }},
        {"12 WPM", [] { click("mnu12WPM"); }},
        {"9 WPM", [] { click("mnu9WPM"); }},
        phraseOn("LineWrap True", "mnuLinewrap"),
        phraseOff("LineWrap False", "mnuLinewrap"),
        phraseOff("Slashed Zero False", "mnuZero"),
        phraseOn("Slashed Zero True", "mnuZero"),
        {"Width 1", [] { click("mnuDisplayPen1"); }},
        {"Width 2", [] { click("mnuDisplayPen2"); }},
        phraseOn("Long Squelch True", "mnuLongSquelch"),
        phraseOff("Long Squelch False", "mnuLongSquelch"),
    });
    if (!known)
        ShowINIValueError(QStringLiteral("Settings"), value);
}

void ApplyOverloadWarning(const QString& value)
{
    applyWord(value, {phraseOn("True", "mnuOverload"), phraseOff("False", "mnuOverload")});
}

void ApplyTypingPreference(const QString& value)
{
    // Each handler checks its own item and unchecks the other two.
    const bool known = applyWord(value, {
        {"As Typed", [] { RestoreSwitch("mnuAsTyped", true); }},
        {"ALL CAPS", [] { RestoreSwitch("mnuAllCaps", true); }},
        {"all lowercase", [] { RestoreSwitch("mnulowercase", true); }},
    });
    if (!known)
        ShowINIValueError(QStringLiteral("Typing Preference"), value);
}

void ApplyDisplayMode(const QString& value)
{
    if (!applyWord(value, {{"Spectrum", [] { click("mnuSpectrum"); }}, {"Waterfall", [] { click("mnuWaterfall"); }}}))
        ShowINIValueError(QStringLiteral("Display"), value);
}

void ApplyTuningWindow(const QString& value)
{
    if (!applyWord(value, {phraseOn("Tuning Window True", "mnuTuningWindow"),
                           phraseOff("Tuning Window False", "mnuTuningWindow")}))
        ShowINIValueError(QStringLiteral("Tuning Window"), value);
}

void ApplyMiniLogVisible(const QString& value)
{
    MenuItem* standalone = item("mnuStandalone");
    if (!standalone || !standalone->checked())
        return;
    if (!applyWord(value, {phraseOn("True", "mnuMiniLog"), phraseOff("False", "mnuMiniLog")}))
        ShowINIValueError(QStringLiteral("Mini-Log"), value);
}

void ApplyFormViewSetting(const QString& value)
{
    const bool known = applyWord(value, {
        phraseOn("On Top True", "mnuOnTop"),
        phraseOff("On Top False", "mnuOnTop"),
        phraseOn("Control Panel True", "mnuTuningWindow"),
        phraseOff("Control Panel False", "mnuTuningWindow"),
        phraseOn("Display True", "mnuDisplay"),
        phraseOff("Display False", "mnuDisplay"),
        phraseOn("StatusBar True", "mnustatusbar"),
        phraseOff("StatusBar False", "mnustatusbar"),
        {"Radio Auto", [] { Choose("mnuRadioAuto", kDialItems); }},
        {"Radio Simulated 1", [] { Choose("mnuSimulatedRadio1", kDialItems); }},
        {"Radio Simulated 2", [] { Choose("mnuSimulatedRadio2", kDialItems); }},
        {"Radio Simulated 3", [] { Choose("mnuSimulatedRadio3", kDialItems); }},
        {"Radio Simulated 4", [] { Choose("mnuSimulatedRadio4", kDialItems); }},
        {"Radio Disabled", [] { click("mnuAudioFreq"); }},
        {"36Macros", [] { Choose("mnu36Macros", kMacroItems); }},
        {"24Macros", [] { Choose("mnu24Macros", kMacroItems); }},
        {"12Macros", [] { Choose("mnu12Macros", kMacroItems); }},
        {"NoMacros", [] { Choose("mnuNoMacros", kMacroItems); }},
    });
    if (!known)
        ShowINIValueError(QStringLiteral("Form View"), value);
}

void ApplySquelchSpeed(const QString& value)
{
    applyWord(value, {{"Fast", [] { click("mnuSquelchFast"); }}, {"Slow", [] { click("mnuSquelchSlow"); }}});
}

void SetMiniLogBackColor(const QString& value)
{
    setBoxColour(QPalette::Base, inival::WholeInt32(value));
}

void SetMiniLogForeColor(const QString& value)
{
    setBoxColour(QPalette::Text, inival::WholeInt32(value));
}

void SetMiniLogFontBold(const QString& value)
{
    const bool bold = inival::Truth(value);
    eachPanelBox([bold](QWidget* box) {
        QFont f = box->font();
        f.setBold(bold);
        box->setFont(f);
    });
}
