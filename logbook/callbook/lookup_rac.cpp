// The RAC callbook: the library answers one record whose fields are bracketed by control
// characters (a field "from a to b" runs from behind the first character a to the first
// character b), and a result code.
#include "logbook/callbook/cd_lookup.h"

#include "logbook/callbook/callbook_libraries.h"
#include "platform/vb/text1252.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");
const QString kTenBlanks(10, QLatin1Char(' '));

class RacRecord {
public:
    explicit RacRecord(const QString& r) : r_(r) {}

    bool has(int c) const { return r_.contains(QChar(c)); }
    qsizetype at(int c) const { return r_.indexOf(QChar(c)); }

    // A field the program counts on: its end character must stand behind its start character.
    std::optional<QString> counted(int from, int to) const
    {
        const qsizetype a = at(from), b = at(to);
        if (a < 0 || b < a)
            return std::nullopt;
        return r_.mid(a + 1, b - a - 1);
    }
    // A field that is skipped (empty) when its end is missing, before it or right behind it.
    QString guarded(int from, int to) const
    {
        const qsizetype a = at(from), b = at(to);
        if (a < 0 || b <= a + 1)
            return QString();
        return r_.mid(a + 1, b - a - 1);
    }

private:
    QString r_;
};

} // namespace

std::optional<QString> RACDisplayText(const QString& record)
{
    const RacRecord r(record);
    if (!r.has(2))
        return std::nullopt;
    const bool withThree = r.has(3);
    std::optional<QString> main = r.counted(2, withThree ? 3 : 7);
    if (!main)
        return std::nullopt;

    QString display;
    QString rest = *main;
    for (int part = 1;; ++part) {
        const qsizetype comma = rest.indexOf(QLatin1Char(','));
        if (comma < 0) {
            display += vb::Trim(rest) + QStringLiteral(", ");
            break;
        }
        // The part with its comma and the character behind it, trimmed.
        display += vb::Trim(rest.left(comma + 2));
        rest = rest.mid(comma + 1);
        if (part == 1 && r.has(24)) {
            const QString extra = r.guarded(24, 25);
            if (!extra.isEmpty())
                display += kTenBlanks + extra;
        }
        display += kCRLF;
    }
    if (r.has(6)) {
        const auto province = r.counted(6, 7);
        if (!province)
            return std::nullopt;
        display += *province + QLatin1Char(' ');
    }
    if (r.has(5)) {
        const auto postal = r.counted(5, 6);
        if (!postal)
            return std::nullopt;
        display += *postal;
    }
    if (!withThree) {
        QString sixteen;
        if (r.has(16)) {
            const auto f16 = r.counted(16, 17);
            if (!f16)
                return std::nullopt;
            if (!f16->isEmpty())
                display += kCRLF + *f16 + kCRLF;
            sixteen = *f16;
        }
        if (r.has(17)) {
            const auto via = r.counted(17, 18);
            if (!via)
                return std::nullopt;
            if (*via != sixteen && !via->isEmpty())
                display += QStringLiteral("Via ") + *via;
        }
    }
    display += kCRLF;

    QString county;
    if (withThree) {
        const QString c = r.guarded(13, 14);
        if (!c.isEmpty())
            county = c + QStringLiteral(" County ") + kCRLF;
    }
    QString licence = r.guarded(7, 8);
    if (withThree) {
        const QString expiry = r.guarded(9, 10);
        if (!expiry.isEmpty())
            licence += kTenBlanks + QStringLiteral("License Expires: ") + expiry;
    }
    QString text = display + kCRLF + county;
    if (!licence.isEmpty())
        text += QStringLiteral("LicenseClass: ") + licence;
    return text;
}

void FormatRACRecord()
{
    if (const auto text = RACDisplayText(cdlookup::answer()))
        cdlookup::present(*text);
}

void LookupRAC()
{
    const auto entries = callbook::resolve(callbook::kRACLibrary, {"sGetCallInfo"});
    if (entries.empty()) {
        dlg::MsgBox(QStringLiteral("I cannot find the file RACCD32A.DLL needed to access the RAC CD.  "
                                   "Please copy this file from you RAC CD to the Sondrel directory."),
                    dlg::OKOnly, QStringLiteral("No RAC DLL..."));
        return;
    }
    const auto getCallInfo = reinterpret_cast<callbook::GetCallInfoFn>(entries[0]);
    const QByteArray path = cp1252::encode(CDDrive + QLatin1Char('/'));
    const QByteArray call = cp1252::encode(cdlookup::callSign());
    QByteArray buffer = cdlookup::blankBuffer();
    std::int16_t result = 0;
    getCallInfo(path.constData(), call.constData(), buffer.data(), std::int32_t(buffer.size()), &result);
    cdlookup::storeBuffer(buffer);

    auto say = [](const QString& text, const char* title) {
        dlg::MsgBox(text, dlg::OKOnly, QString::fromLatin1(title));
    };
    switch (result) {
    case 0:
        FormatRACRecord();
        break;
    case 1101:
        UnloadCDDisplay();
        break;
    case -5:
        say(QStringLiteral("Internal Error while reading CD."), "CD Error");
        break;
    case -4:
        say(QStringLiteral("Decode Error while reading CD."), "CD Error");
        break;
    case -3:
        say(QStringLiteral("DLL does not match the CD.  Copy RACCD32A.DLL from the CD to Sondrel directory"),
            "Version error");
        break;
    case -2:
        say(QStringLiteral("Very confusing.  Try again"), "Huh?");
        break;
    case 2:
        say(QStringLiteral("File not found"), "CD Error");
        break;
    case 3:
        say(CDDrive + QStringLiteral("/ not found"), "CD Error");
        break;
    case 5:
        say(QStringLiteral("File access denied"), "CD Error");
        break;
    default:
        break;
    }
}
