// The File menu's "Send a text file": a text file typed into the transmitter through the macro
// interpreter's typing path.
#include "core/macros/macro_services.h"

#include "core/macros/macro_hooks.h"
#include "core/transmit/txtyping.h"
#include "platform/system/events.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vberror.h"
#include "platform/widgets/dialogs.h"
#include "platform/widgets/menuitem.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QApplication>
#include <QFile>
#include <QFileInfo>
#include <QTextEdit>
#include <cerrno>
#include <unistd.h>

namespace {

void showError(const VbError& error)
{
    dlg::MsgBox(error.text(), dlg::OKOnly);
}

} // namespace

void mnuinput_Click()
{
    dlg::FileRequest request;
    request.title = QStringLiteral("Send a text file");
    request.filter = QStringLiteral("Text Files (*.txt);;All Files (*.*)");
    const QString name = dlg::Dialogs::instance().openFile(request);
    if (name.isEmpty())
        return; // Cancel: nothing to say
    QString text;
    {
        BusyPointer busy;
        AbortMacro = false;
        VbError error;
        text = macro::readTextFile(name, error);
        if (error.number != 0) {
            showError(error);
            return;
        }
        // An abort while the file was read sends none of it.
        for (const QChar c : text) {
            MacroHooks().Yield();
            if (AbortMacro || events::ProgramClosing())
                break;
            const int byte = cp1252::byteOf(c);
            std::int16_t code = static_cast<std::int16_t>(byte < 0 ? '?' : byte);
            TypeCharToTxWindow(code);
        }
    }
}
