// The QRZ callbook: the library is opened on the disc, searched, and answers a text page of
// CR LF lines; the left part of lines 2 to 4 (46 characters) is shown, and the labels in their
// right part are replaced by the program's own.
#include "logbook/callbook/cd_lookup.h"

#include "logbook/callbook/callbook_libraries.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");
constexpr int kLeftPart = 46;

// The labelled text behind `label`, up to the carriage return before the next line feed, and
// the page from behind that line feed.
QString labelled(QString& page, const QString& label, const QString& shownAs)
{
    const qsizetype at = page.indexOf(label);
    if (at >= 0)
        page = page.mid(at + label.size());
    const qsizetype lf = page.indexOf(QLatin1Char('\n'));
    QString text;
    if (at >= 0 && lf >= 1)
        text = shownAs + vb::Trim(page.left(lf - 1));
    if (lf >= 0)
        page = page.mid(lf + 1);
    return text;
}

} // namespace

std::optional<QString> QRZDisplayText(const QString& answer)
{
    QString page = answer;
    const qsizetype blank = page.indexOf(QLatin1Char(' '));
    const qsizetype lf = page.indexOf(QLatin1Char('\n'));
    if (blank < 0 || lf < 0)
        return std::nullopt;
    QString display = vb::Trim(page.mid(blank + 1, std::max<qsizetype>(0, lf - blank - 2)));
    page = page.mid(lf + 1);

    display += kCRLF + vb::Trim(page.left(kLeftPart));
    // The 46th character both ends the shown part and starts the search for the label.
    page = page.mid(kLeftPart - 1);
    const QString birth = labelled(page, QStringLiteral("Born:"), QStringLiteral("DOB: "));

    display += kCRLF + vb::Trim(page.left(kLeftPart));
    const QString licence = labelled(page, QStringLiteral("Licn:"), QStringLiteral("License Class: "));

    display += kCRLF + vb::Trim(page.left(kLeftPart));
    QString expiry;
    const qsizetype at = page.indexOf(QStringLiteral("Expn:"));
    if (at >= 0) {
        page = page.mid(at + 5);
        expiry = QStringLiteral("License expires: ") + vb::Trim(page.left(8));
    }
    const QString five(5, QLatin1Char(' '));
    return display + kCRLF + birth + five + licence + five + expiry;
}

void LookupQRZ()
{
    const auto entries = callbook::resolve(callbook::kQRZLibrary, {"QRZInit", "QRZSearch", "QRZExit"});
    if (entries.empty()) {
        dlg::MsgBox(QStringLiteral("I cannot find the QRZ32.DLL file.  Please copy this file from your QRZ "
                                   "CD to the Sondrel directory."),
                    dlg::OKOnly, QStringLiteral("DLL Not found ..."));
        return;
    }
    const auto init = reinterpret_cast<callbook::QRZInitFn>(entries[0]);
    const auto search = reinterpret_cast<callbook::QRZSearchFn>(entries[1]);
    const auto exit = reinterpret_cast<callbook::QRZExitFn>(entries[2]);

    // The library may rewrite the drive it was given; the text it leaves is kept.
    QByteArray drive = cp1252::encode(CDDrive);
    drive.append(char(0));
    const qsizetype driveLength = std::max<qsizetype>(drive.size(), 261);
    drive.resize(driveLength, char(0));
    APIResult = init(drive.data(), std::int32_t(drive.size()));
    CDDrive = cp1252::decode(drive.constData(), qstrnlen(drive.constData(), drive.size()));
    if (APIResult == -1) {
        dlg::MsgBox(QStringLiteral("DLL is in use by another application."), dlg::OKOnly, QStringLiteral("CD ROM Error"));
        exit();
        return;
    }
    if (APIResult == 0) {
        dlg::MsgBox(QStringLiteral("Error: CD not be found."), dlg::OKOnly, QStringLiteral("CD ROM Error"));
        exit();
        return;
    }
    const QByteArray call = cp1252::encode(cdlookup::callSign());
    QByteArray buffer = cdlookup::blankBuffer();
    const std::int32_t found =
        search(1, call.constData(), "", "", buffer.data(), std::int32_t(buffer.size()), 1);
    cdlookup::storeBuffer(buffer);
    if (found <= 0) {
        UnloadCDDisplay();
        return;
    }
    if (const auto text = QRZDisplayText(cdlookup::answer()))
        cdlookup::present(*text);
}
