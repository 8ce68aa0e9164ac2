#include "logbook/callbook/cd_lookup.h"

#include "displays/spectrum/scale.h"
#include "logbook/callbook/frmcddisplay.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QLineEdit>

namespace {

constexpr int kBufferLength = 501;

bool checked(const char* item)
{
    return MainWindow().mnu(QString::fromLatin1(item)).checked();
}

} // namespace

void DoCDLookup()
{
    if (CDDrive == QLatin1String("None")) {
        dlg::MsgBox(QStringLiteral("I could not find a CD drive.  Please check the documentation and set "
                                   "a default CD drive in the Sondrel.ini file."),
                    dlg::OKOnly, QStringLiteral("Invalid CD"));
        return;
    }
    if (checked("mnuHamCall"))
        LookupHamCall();
    if (checked("mnuQRZ"))
        LookupQRZ();
    if (checked("mnuRAC"))
        LookupRAC();
}

void ShowCDDisplay()
{
    AroundTopmost([] { frmCDDisplay::instance().showOwned(); });
}

void UnloadCDDisplay()
{
    if (frmCDDisplay* w = frmCDDisplay::existing())
        w->Unload();
}

namespace cdlookup {

QByteArray blankBuffer()
{
    return QByteArray(kBufferLength, ' ');
}

void storeBuffer(const QByteArray& buffer)
{
    QString text = cp1252::decode(buffer.left(kBufferLength));
    if (text.size() < kBufferLength)
        text += QString(kBufferLength - text.size(), QLatin1Char(' '));
    CDLookupBuffer = text;
}

QString answer()
{
    const qsizetype nul = CDLookupBuffer.indexOf(QChar(0));
    return nul < 0 ? CDLookupBuffer : CDLookupBuffer.left(nul);
}

QString callSign()
{
    return MainWindow().CallsignBox->text();
}

void present(const QString& text)
{
    ShowCDDisplay();
    frmCDDisplay& w = frmCDDisplay::instance();
    w.setWindowTitle(callSign());
    w.setText(text);
}

} // namespace cdlookup
