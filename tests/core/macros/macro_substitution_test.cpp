// Text substitution tokens, each against the state it reads.
#include "macro_fixture.h"

#include "logbook/store/database.h"

namespace {

class Substitutions : public MacroFixture {};

TEST_F(Substitutions, EachTokenGivesTheValueItStandsFor)
{
    struct Case {
        const char* text;
        std::function<void()> set;
        QString expected;
    };
    Sondrel& w = main();
    const Case cases[] = {
        {"[$mode$]", [] { ModeText = "QPSK"; }, "[QPSK]"},
        {"[$mode$]", [] { ModeText.clear(); }, "[]"},
        {"$rttymarkfrequency$", [&] { w.AudioFreqBox->setText("1500.00"); }, "1500"},
        {"$rxtonefreq$", [&] { w.AudioFreqBox->setText(" 1500.00 "); }, "1500.00"},
        {"$radioandtone$", [&] { w.RFFrequencyBox->setText(" 14071.50 "); }, "14071.50"},
        {"$radiofreq$", [] { DialFrequency = 14070.15; }, "14070.15 KHz"},
        {"$ascii65$$ascii 6 6$", [] {}, "AB"},
        {"<$ascii$>", [] {}, "<>"},         // code 0: neither sent nor shown
        {"<$ascii400$>", [] {}, "<>"},      // no character code: dropped
        {"$mycall$", [] { DefaultCallsign = "G4XYZ"; }, "G4XYZ"},
        {"$call$", [] { PreviousQSOCall = "DL1ABC"; }, "DL1ABC"},
        {"$hisrst$/$myrst$", [] { HisRST = "599"; MyRST = "579"; }, "599/579"},
        {"$serialnum$", [] { QSOCounter = "7"; QSOOffsetCounter = 0; }, "007"},
        {"$serialnum$", [] { QSOCounter = "1234"; }, "1234"},
        {"$serialnum$", [] { QSOCounter = "7"; QSOOffsetCounter = 10; }, "-003"},
        {"$band$ $comment$ $name$", [] { CurrentBand = "20"; QSOComment = "tnx"; OtherName = "Bob"; }, "20 tnx Bob"},
        {"a$name$b", [] { OtherName.clear(); }, "ab"},
        {"$numqsos$ $lastqsodate$ $lastqsotime$ $lastqsoband$ $lastqsomode$",
         [] { PreviousQSOs = {"", "3", "05 Mar 2004", "14:07", "20", "BPSK"}; }, "3 05 Mar 2004 14:07 20 BPSK"},
        {"$qth$", [&] { w.QTHBox->setText("Boston"); }, "Boston"},
        {"$version$", [] { ProgramVersion = "1.24"; }, "1.24"},
        {"$upperorlower$", [] { SidebandOrientation = "Normal"; }, "+"},
        {"$upperorlower$", [] { SidebandOrientation = "Reverse"; }, "-"},
        {"$upperorlower$", [] { SidebandOrientation = "normal"; }, "-"},
        {"$rttyshift$", [] { RTTYShownShiftHz = 170; }, "170"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        c.set();
        const QString got = run(QString::fromLatin1(c.text));
        EXPECT_EQ(got, c.expected) << got.toUtf8().toHex().toStdString();
    }
    QSOOffsetCounter = 0;
}

TEST_F(Substitutions, DatesAndTimesAreUtcWhateverTheZone)
{
    // 23:59:59 local on 5 March, five hours west of Greenwich: 04:59:59 UTC on the 6th
    clock.setUtc(QDateTime(QDate(2004, 3, 6), QTime(4, 59, 59), Qt::UTC));
    clock.setOffsetSeconds(-5 * 3600);
    const struct {
        const char* token;
        const char* expected;
    } cases[] = {
        {"$longdateandtime$", "06 Mar 2004, 04:59:59"},
        {"$shortdateandtime$", "06/03/04 04:59"},
        {"$shortdate$", "06/03/04"},
        {"$longdate$", "06 Mar 2004"},
        {"$longtime$", "04:59:59"},
        {"$shorttime$", "04:59"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.token);
        EXPECT_EQ(run(QString::fromLatin1(c.token)), QString::fromLatin1(c.expected));
    }
}

TEST_F(Substitutions, StartTimeStampsTheQsoAndLeavesNothing)
{
    clock.setUtc(QDateTime(QDate(2004, 3, 5), QTime(14, 7, 9), Qt::UTC));
    clock.setOffsetSeconds(3600);
    NewQSO[fTimeOn].clear();
    EXPECT_EQ(run("a$starttime$b"), "ab");
    EXPECT_EQ(NewQSO[fTimeOn], QSOKeyText(oledate::fromDateTime(QDateTime(QDate(2004, 3, 5), QTime(14, 7, 9)))));
    EXPECT_TRUE(NewQSO[fTimeOn].startsWith(' '));
    NewQSO[fTimeOn].clear();
}

} // namespace
