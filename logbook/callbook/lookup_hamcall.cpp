// The HamCall callbook: the library answers one record in which each field is introduced by a
// marker character (codes 181 to 255); where a field ends is fixed per marker.
#include "logbook/callbook/cd_lookup.h"

#include "logbook/callbook/callbook_libraries.h"
#include "logbook/callbook/frmcddisplay.h"
#include "platform/system/clock.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "state/declarations.h"

namespace {

const QString kCRLF = QStringLiteral("\r\n");

class MarkedRecord {
public:
    explicit MarkedRecord(const QString& r) : r_(r) {}

    qsizetype at(int marker) const { return r_.indexOf(QChar(marker)); }

    // The lowest marker above `marker` that the record holds, or 0.
    int nextMarker(int marker) const
    {
        for (int m = marker + 1; m <= 255; ++m)
            if (at(m) >= 0)
                return m;
        return 0;
    }
    // The field behind `marker` up to `end` (an index); nothing when the end lies before it.
    std::optional<QString> upTo(int marker, qsizetype end) const
    {
        const qsizetype start = at(marker);
        if (start < 0 || end < start)
            return std::nullopt;
        return r_.mid(start + 1, end - start - 1);
    }
    std::optional<QString> toNext(int marker, bool orEnd) const
    {
        const int next = nextMarker(marker);
        if (next == 0)
            return orEnd ? upTo(marker, r_.size()) : std::nullopt;
        return upTo(marker, at(next));
    }
    // A date field of 8 characters, closed by `end` exactly 9 characters behind the marker.
    std::optional<QString> dated(int marker, int end) const
    {
        if (at(end) < 0 || at(end) != at(marker) + 9)
            return std::nullopt;
        return upTo(marker, at(end));
    }

private:
    QString r_;
};

// "Mar 14, 2025" from YYYYMMDD.
QString dateText(const QString& yyyymmdd)
{
    const int month = int(vb::Val(yyyymmdd.mid(4, 2)));
    return months::abbrev(month) + QLatin1Char(' ') + vb::Trim(yyyymmdd.mid(6, 2)) + QStringLiteral(", ")
           + vb::Trim(yyyymmdd.left(4));
}

} // namespace

HamCallDisplay HamCallDisplayText(const QString& buffer)
{
    QString record = vb::Trim(buffer);
    const qsizetype nul = record.indexOf(QChar(0));
    if (nul >= 0)
        record.truncate(nul);
    const MarkedRecord r(record);

    QString firstLine, block, licence, birth, expiry, grid, county, qsl;
    bool lastLine = false;
    for (int m = 181; m <= 255; ++m) {
        if (r.at(m) < 0)
            continue;
        std::optional<QString> f;
        if (m == 182 || (m >= 184 && m <= 193))
            f = r.toNext(m, false);
        else if (m == 194 || m == 196)
            f = r.dated(m, m + 1);
        else if (m == 198)
            f = r.at(199) >= 0 ? r.upTo(m, r.at(199)) : std::nullopt;
        else if (m == 202)
            f = record.mid(r.at(m) + 1, 6);
        else if (m >= 207 && m <= 209)
            f = r.toNext(m, true);
        if (!f)
            continue;
        if (m == 182) {
            licence = *f;
        } else if (m >= 184 && m <= 187) {
            firstLine += *f + QLatin1Char(' ');
        } else if (m >= 188 && m <= 190) {
            block += *f + kCRLF;
        } else if (m >= 191 && m <= 193) {
            const bool endedBy192 = m == 191 && r.nextMarker(191) == 192;
            block += *f + (endedBy192 ? QStringLiteral(", ") : QStringLiteral(" "));
        } else if (m == 194) {
            birth = QStringLiteral("DOB: ") + dateText(*f);
        } else if (m == 196) {
            expiry = QStringLiteral("License expires: ") + dateText(*f);
        } else if (m == 198) {
            county = *f;
        } else if (m == 202) {
            grid = QStringLiteral("Grid Sq. ") + *f;
        } else if (m == 207) {
            firstLine += QStringLiteral("   <") + *f + QLatin1Char('>');
        } else if (m == 208) {
            qsl = QStringLiteral("QSL via ") + *f;
        } else if (m == 209) {
            block += kCRLF + *f;
            lastLine = true;
        }
    }
    QString text = firstLine + kCRLF + vb::Trim(block) + kCRLF;
    if (!lastLine)
        text += kCRLF;
    const QString four(4, QLatin1Char(' '));
    if (!birth.isEmpty())
        text += birth + four;
    if (!grid.isEmpty())
        text += grid + four;
    if (!county.isEmpty())
        text += county + QStringLiteral(" Co.");
    if (!licence.isEmpty())
        text += kCRLF + QStringLiteral("License Class: ") + licence + four;
    if (!expiry.isEmpty())
        text += expiry;
    return {text, qsl};
}

void LookupHamCall()
{
    CDLookupBuffer = QString(501, QLatin1Char(' '));
    const auto entries = callbook::resolve(callbook::kHamCallLibrary, {"LookupCallSign"});
    if (entries.empty()) {
        dlg::MsgBox(QStringLiteral("I cannot find the file HAMCAL32.DLL needed to access the HamCall CD.  "
                                   "Please copy this file from you HamCall CD to the Sondrel directory."),
                    dlg::OKOnly | dlg::Exclamation, QStringLiteral("No HamCall DLL..."));
        return;
    }
    const auto lookup = reinterpret_cast<callbook::LookupCallSignFn>(entries[0]);
    const QByteArray path = cp1252::encode(CDDrive + QStringLiteral("/HAM0/"));
    const QByteArray call = cp1252::encode(cdlookup::callSign());
    QByteArray buffer = cdlookup::blankBuffer();
    // One less than the buffer holds, as the library has always been told.
    APIResult = lookup(path.constData(), call.constData(), std::int32_t(buffer.size() - 1), buffer.data());
    cdlookup::storeBuffer(buffer);

    if (APIResult > 0) {
        const HamCallDisplay shown = HamCallDisplayText(CDLookupBuffer);
        cdlookup::present(shown.text);
        frmCDDisplay::instance().setPanelCaption(shown.qslRoute);
        return;
    }
    auto say = [](const QString& text, const char* title) {
        dlg::MsgBox(text, dlg::OKOnly, QString::fromLatin1(title));
    };
    switch (APIResult) {
    case -1:
        UnloadCDDisplay();
        break;
    case -2:
        say(QStringLiteral("The Hamcall CD ") + CDDrive + QStringLiteral("/HAM0/ was not found"), "Not found");
        break;
    case -3:
        say(QStringLiteral("The Hamcall CD has returned a 'Index'Error'"), "Index error");
        break;
    case -4:
        say(QStringLiteral("The Hamcall CD has returned a 'No Memory Error'"), "No memory error");
        break;
    default:
        break;
    }
}
