// The echo of a transmitted character: shown in the receive window at the next tick, and
// marked as sent in the transmit window when the transmit buffer indicator is on.
#include "core/receive/notifications.h"

#include "core/receive/rxtext.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/menuitem.h"
#include "platform/widgets/picturebox.h"
#include "platform/widgets/richtext.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QTextEdit>

void EchoTxChar(std::int16_t& ch)
{
    ResumeNext([&] { SentText += cp1252::charOf(static_cast<unsigned char>(ch & 0xFF)); });
    MainWindowControls* w = ExistingMainWindow();
    if (!w)
        return;
    if (ch == '0' && w->mnu(QStringLiteral("mnuZero")).checked())
        ch = 216;
    if (ch == 10 || ch == 13)
        return;
    if (ch == 8 && TxCharPointer > 1)
        --TxCharPointer;
    if (!w->mnu(QStringLiteral("mnuTransmitBuffer")).checked())
        return;
    // The transmit window is recoloured without the keyboard focus.
    ResumeNext([&] { w->Graticule->setFocus(); });
    ResumeNext([&] {
        RichText& tx = *w->Tx;
        const QString what(cp1252::charOf(static_cast<unsigned char>(ch & 0xFF)));
        const int p = tx.find(what, TxCharPointer - 1, false) + 1;
        if (p > 0) {
            TxCharPointer = p + 1;
            tx.setSelection(p - 1, 1);
            tx.setSelColor(ColourFromText(TxBufferColor));
            tx.setSelStart(tx.length());
        }
    });
    ResumeNext([&] { w->TxWindow->setFocus(); });
}
