// Tokens that stand for a value: QSO fields, settings, frequencies, the UTC date and time, a
// character. Each is replaced by the value at the moment of its pass.
#include "core/macros/macro_tokens.h"
#include "logbook/store/database.h"
#include "platform/system/clock.h"
#include "platform/vb/text1252.h"
#include "platform/vb/vbnum.h"
#include "state/declarations.h"
#include "state/main_window_controls.h"

#include <QLineEdit>
#include <cmath>

namespace macro {

namespace {

TokenAction value(std::function<QString()> get)
{
    TokenAction a;
    a.closed = [get = std::move(get)](const RunContext&) { return get(); };
    return a;
}

TokenAction field(const QString* text)
{
    return value([text] { return *text; });
}

QString boxText(QLineEdit* MainWindowControls::*box)
{
    return (MainWindow().*box)->text();
}

QString twoDigits(int n)
{
    return QStringLiteral("%1").arg(n, 2, 10, QLatin1Char('0'));
}

// This moment in UTC, as the logbook reckons it: the local time plus the time-zone bias.
QDateTime utcNow()
{
    doGMTCalculations();
    return oledate::toDateTime(oledate::fromDateTime(Clock::instance().nowLocal()) + UTCOffsetDays);
}

// "dd", "mmm", "mm" (month, or minutes after "hh"), "yyyy", "yy", "hh", "ss"; others copied.
QString formatUtc(const QString& pattern)
{
    const QDateTime t = utcNow();
    const QDate d = t.date();
    const QTime tm = t.time();
    QString out;
    bool afterHour = false;
    for (qsizetype i = 0; i < pattern.size();) {
        auto at = [&](const char* what) { return pattern.mid(i).startsWith(QLatin1String(what)); };
        if (at("yyyy")) {
            out += QStringLiteral("%1").arg(d.year(), 4, 10, QLatin1Char('0'));
            i += 4;
        } else if (at("yy")) {
            out += twoDigits(d.year() % 100);
            i += 2;
        } else if (at("mmm")) {
            out += months::abbrev(d.month());
            i += 3;
        } else if (at("mm")) {
            out += afterHour ? twoDigits(tm.minute()) : twoDigits(d.month());
            afterHour = false;
            i += 2;
        } else if (at("dd")) {
            out += twoDigits(d.day());
            i += 2;
        } else if (at("hh")) {
            out += twoDigits(tm.hour());
            afterHour = true;
            i += 2;
        } else if (at("ss")) {
            out += twoDigits(tm.second());
            i += 2;
        } else {
            out += pattern[i++];
        }
    }
    return out;
}

// "##000": at least three digits, more when needed, the sign in front.
QString serialNumber()
{
    const double n = vb::RoundHalfEven(vb::Val(QSOCounter) - QSOOffsetCounter);
    const QString digits = QStringLiteral("%1").arg(std::fabs(n), 3, 'f', 0, QLatin1Char('0'));
    return n < 0 ? QStringLiteral("-") + digits : digits;
}

} // namespace

void AddSubstitutionTokens(TokenTable& t)
{
    t.insert("$mode$", field(&ModeText));
    t.insert("$rttymarkfrequency$", value([] { return vb::Text(vb::Val(boxText(&MainWindowControls::AudioFreqBox))); }));
    t.insert("$rxtonefreq$", value([] { return vb::Trim(boxText(&MainWindowControls::AudioFreqBox)); }));
    t.insert("$radioandtone$", value([] { return vb::Trim(boxText(&MainWindowControls::RFFrequencyBox)); }));
    t.insert("$radiofreq$", value([] { return vb::Text(DialFrequency) + QStringLiteral(" KHz"); }));

    TokenAction ascii;
    ascii.withArgument = [](const RunContext&, const QString& n) {
        // A value that is no character code gives nothing.
        const std::int16_t code = vb::CInt(vb::Val(n));
        return code >= 0 && code <= 255 ? QString(cp1252::charOf(static_cast<unsigned char>(code))) : QString();
    };
    t.insert("$ascii", ascii);

    t.insert("$mycall$", field(&DefaultCallsign));
    t.insert("$call$", field(&PreviousQSOCall));
    t.insert("$hisrst$", field(&HisRST));
    t.insert("$serialnum$", value(serialNumber));
    t.insert("$myrst$", field(&MyRST));
    t.insert("$band$", field(&CurrentBand));
    t.insert("$comment$", field(&QSOComment));
    t.insert("$name$", field(&OtherName));
    t.insert("$numqsos$", field(&PreviousQSOs[1]));
    t.insert("$lastqsodate$", field(&PreviousQSOs[2]));
    t.insert("$lastqsotime$", field(&PreviousQSOs[3]));
    t.insert("$lastqsoband$", field(&PreviousQSOs[4]));
    t.insert("$lastqsomode$", field(&PreviousQSOs[5]));
    t.insert("$qth$", value([] { return boxText(&MainWindowControls::QTHBox); }));
    t.insert("$starttime$", value([] {
        doGMTCalculations();
        NewQSO[fTimeOn] = CurrentQSOKey();
        return QString();
    }));
    t.insert("$version$", field(&ProgramVersion));
    t.insert("$upperorlower$", value([] {
        return SidebandOrientation == QLatin1String("Normal") ? QStringLiteral("+") : QStringLiteral("-");
    }));
    t.insert("$longdateandtime$", value([] { return formatUtc(QStringLiteral("dd mmm yyyy, hh:mm:ss")); }));
    t.insert("$shortdateandtime$", value([] { return formatUtc(QStringLiteral("dd/mm/yy hh:mm")); }));
    t.insert("$shortdate$", value([] { return formatUtc(QStringLiteral("dd/mm/yy")); }));
    t.insert("$longdate$", value([] { return formatUtc(QStringLiteral("dd mmm yyyy")); }));
    t.insert("$longtime$", value([] { return formatUtc(QStringLiteral("hh:mm:ss")); }));
    t.insert("$shorttime$", value([] { return formatUtc(QStringLiteral("hh:mm")); }));
    t.insert("$rttyshift$", value([] { return QString::number(RTTYShownShiftHz); }));
}

} // namespace macro
