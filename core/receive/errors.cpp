#include "core/receive/errors.h"

#include "engines/sound/audio.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QLabel>

QString DLLErrorText(std::int32_t code)
{
    static const char* const kTexts[] = {
        "Memory allocation Error.",
        "Tried to read and soundcard is not open.",
        "Input buffer overflow.",
        "Timed out waiting for input buffers.",
        "Tried to write and soundcard is not open.",
        "Output buffers overflowed.",
        "Timed out waiting for output buffers.",
        "Soundcard does not support 16bit, 8000Hz, Mono format.",
        "There is still something playing on the soundcard.",
        "Header not prepared.",
        "Device is synchronous.",
        "Bad device ID or Soundcard not present.",
        "Driver failed to enable.",
        "Device already allocated.",
        "Device handle is invalid.",
        "No device driver present.",
        "Function is not suported.",
        "Error value out of range.",
        "Invalid flag passed.",
        "Invalid parameter passed.",
        "Handle being used.",
        "Driver does not support DriverCallBack.",
        "Registry error.",
    };
    if (code >= 10 && code <= 32)
        return QString::fromLatin1(kTexts[code - 10]);
    return QChar(0xBF) + QStringLiteral("\u00bfQue pasa?  I'm lost, how did I get here?  Unknown error.");
}


void ShowDLLError(std::int32_t code)
{
    // The sound layer may know more than the code says: what happened to the sound card, which
    // devices there are, what to do. Taken now, before a box waits for the operator.
    const QString more = QString::fromStdString(sound::takeAudioError());
    ShowErrorBoxOnce(ErrorBox::Engine, [code, more] {
        APIResult = dlg::MsgBox(DLLErrorText(code), dlg::OKOnly, QStringLiteral("DLL Error ") + vb::Str(code));
        if (!more.isEmpty())
            dlg::MsgBox(more, dlg::OKOnly, QStringLiteral("Sound device"));
    });
}

void ShowOverloadLight()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->Image1->setPixmap(*w->Red);
    OverloadCountdown = 10;
}

void SetLights()
{
    if (MainWindowControls* w = ExistingMainWindow())
        w->Image1->setPixmap(EnergySaverOn ? *w->Orange : *w->Green);
}
