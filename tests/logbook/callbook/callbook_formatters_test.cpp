// The three formatters turn a library's answer into the callbook window's text.
#include "logbook/callbook/cd_lookup.h"
#include "support/qt_print.h"

#include <gtest/gtest.h>

namespace {

QString c(int code)
{
    return QString(QChar(code));
}

const QString kCRLF = QStringLiteral("\r\n");
const QString kTen(10, QLatin1Char(' '));

TEST(RACFormat, FieldsBracketedByControlCharacters)
{
    const struct {
        const char* what;
        QString record;
        std::optional<QString> shown;
    } cases[] = {
        {"a main field without a comma ends in a comma, then province and postal code",
         c(2) + "RADIO CLUB" + c(3) + c(5) + "K1A 0B1" + c(6) + "ON" + c(7) + c(8),
         "RADIO CLUB, ON K1A 0B1" + kCRLF + kCRLF},
        {"the text under 24 stands behind the first part",
         c(2) + "DOE, JANE" + c(3) + c(7) + c(8) + c(24) + "X" + c(25),
         "DOE," + kTen + "X" + kCRLF + "JANE, " + kCRLF + kCRLF},
        {"no character 24 adds nothing", c(2) + "DOE, JANE" + c(3), "DOE," + kCRLF + "JANE, " + kCRLF + kCRLF},
        {"an empty field 24 adds nothing", c(2) + "DOE, JANE" + c(3) + c(24) + c(25),
         "DOE," + kCRLF + "JANE, " + kCRLF + kCRLF},
        {"county and licence class", c(2) + "A" + c(3) + c(13) + "CARLETON" + c(14) + c(7) + "Basic" + c(8),
         "A, " + kCRLF + kCRLF + "CARLETON County " + kCRLF + "LicenseClass: Basic"},
        {"an expiry without a licence class still shows the label",
         c(2) + "A" + c(3) + c(7) + c(8) + c(9) + "2030" + c(10),
         "A, " + kCRLF + kCRLF + "LicenseClass: " + kTen + "License Expires: 2030"},
        {"without character 3 the main field ends at 7, field 16 on a line of its own, via differs",
         c(2) + "CLUB" + c(7) + c(8) + c(16) + "HARC" + c(17) + "VE1XX" + c(18),
         "CLUB, " + kCRLF + "HARC" + kCRLF + "Via VE1XX" + kCRLF + kCRLF},
        {"the via text equal to field 16 is left out",
         c(2) + "CLUB" + c(7) + c(8) + c(16) + "HARC" + c(17) + "HARC" + c(18),
         "CLUB, " + kCRLF + "HARC" + kCRLF + kCRLF + kCRLF},
        {"county and expiry count only with character 3",
         c(2) + "CLUB" + c(7) + c(8) + c(13) + "X" + c(14) + c(9) + "2030" + c(10), "CLUB, " + kCRLF + kCRLF},
        {"no character 2: nothing", "DOE" + c(3), std::nullopt},
        {"province without its end: nothing", c(2) + "A" + c(3) + c(6) + "ON", std::nullopt},
        {"province end before its start: nothing", c(2) + "A" + c(3) + c(7) + c(6) + "ON", std::nullopt},
        {"field 16 without its end: nothing", c(2) + "CLUB" + c(7) + c(16) + "X", std::nullopt},
        {"neither 3 nor 7: nothing", c(2) + "A, B", std::nullopt},
    };
    for (const auto& t : cases)
        EXPECT_EQ(RACDisplayText(t.record), t.shown) << t.what;
}

// A QRZ page line: the left part up to column 45, the right part from column 46 on.
QString line(const QString& left, const QString& right)
{
    return left.leftJustified(45, QLatin1Char(' ')) + right + kCRLF;
}

TEST(QRZFormat, TheLeftPartAndTheLabelledRightPart)
{
    const QString full = "W1XYZ JOHN Q DOE" + kCRLF + line("123 MAIN ST", " Born: 1950") +
                         line("SPRINGFIELD, IL 62701", " Licn: Extra") + line("USA", " Expn:03/14/33");
    const struct {
        const char* what;
        QString page;
        std::optional<QString> shown;
    } cases[] = {
        {"a full page", full,
         "JOHN Q DOE" + kCRLF + "123 MAIN ST" + kCRLF + "SPRINGFIELD, IL 62701" + kCRLF + "USA" + kCRLF +
             "DOB: 1950     License Class: Extra     License expires: 03/14/33"},
        {"the 46th character ends the second line and starts the label",
         "K1A NAME" + kCRLF + line("ADDR", "Born:1950") + line("CITY", " Licn:T") + line("", " Expn:01/01/30"),
         "NAME" + kCRLF + "ADDR" + QString(41, ' ') + "B" + kCRLF + "CITY" + kCRLF + "" + kCRLF +
             "DOB: 1950     License Class: T     License expires: 01/01/30"},
        {"Born: without a line feed behind it gives no birth text",
         "K1A NAME" + kCRLF + QString("ADDR").leftJustified(45, ' ') + " Born: 1950",
         // the rest of the line is taken for the next lines
         "NAME" + kCRLF + "ADDR" + kCRLF + "1950" + kCRLF + "1950" + kCRLF + "          "},
        {"the expiry is cut to 8 characters",
         "K1A NAME" + kCRLF + line("", " ") + line("", " ") + line("", " Expn:03/14/2033 more"),
         "NAME" + kCRLF + kCRLF + kCRLF + kCRLF + "          License expires: 03/14/20"},
        {"labels missing: the separators stay",
         "K1A NAME" + kCRLF + line("A", " ") + line("B", " ") + line("C", " "),
         "NAME" + kCRLF + "A" + kCRLF + "B" + kCRLF + "C" + kCRLF + "          "},
        {"no blank: nothing", "K1A" + kCRLF, std::nullopt},
        {"no line feed: nothing", "K1A NAME", std::nullopt},
    };
    for (const auto& t : cases)
        EXPECT_EQ(QRZDisplayText(t.page), t.shown) << t.what;
}

TEST(HamCallFormat, MarkersAndTheirEnds)
{
    const struct {
        const char* what;
        QString record;
        QString shown;
        QString qsl;
    } cases[] = {
        {"city, state and zip end the text block; 194 with 195 nine characters behind",
         c(191) + "Springfield" + c(192) + "IL" + c(193) + "62701" + c(194) + "19500314" + c(195),
         kCRLF + "Springfield, IL 62701" + kCRLF + kCRLF + "DOB: Mar 14, 1950    ", ""},
        {"191 followed by 193 takes one blank", c(191) + "Springfield" + c(193) + "62701" + c(210),
         kCRLF + "Springfield 62701" + kCRLF + kCRLF, ""},
        {"a date whose end is not 9 characters behind is ignored",
         c(184) + "JOHN" + c(194) + "1950031" + c(195) + c(196) + "203303140" + c(197),
         "JOHN " + kCRLF + kCRLF + kCRLF, ""},
        {"196 and a month out of range",
         c(196) + "20331314" + c(197), kCRLF + kCRLF + kCRLF + "License expires:  14, 2033", ""},
        {"207 with no higher marker runs to the end", c(184) + "JOHN" + c(186) + "DOE" + c(207) + "ex K9OLD",
         "JOHN DOE    <ex K9OLD>" + kCRLF + kCRLF + kCRLF, ""},
        {"209 is the last line and takes the place of the empty line",
         c(188) + "MAIN ST" + c(209) + "PO BOX 7",
         kCRLF + "MAIN ST" + kCRLF + kCRLF + "PO BOX 7" + kCRLF, ""},
        {"a field ends at the lowest higher marker anywhere in the record",
         c(182) + "Extra" + c(186) + "Z" + c(184) + "JOHN",
         kCRLF + kCRLF + kCRLF + kCRLF + "License Class: Extra" + c(186) + "Z    ", ""},
        {"grid, county, class and the QSL route",
         c(182) + "General" + c(198) + "Cook" + c(199) + c(202) + "EN61ax" + c(208) + "W9QSL",
         kCRLF + kCRLF + kCRLF + "Grid Sq. EN61ax    Cook Co." + kCRLF + "License Class: General    ", "QSL via W9QSL"},
        {"blanks round the record and text behind the NUL are dropped",
         "  " + c(184) + "JOHN" + c(210) + QChar(0) + c(208) + "OLD" + "   ", "JOHN " + kCRLF + kCRLF + kCRLF, ""},
    };
    for (const auto& t : cases) {
        const HamCallDisplay d = HamCallDisplayText(t.record);
        EXPECT_EQ(d.text, t.shown) << t.what;
        EXPECT_EQ(d.qslRoute, t.qsl) << t.what;
    }
}

} // namespace
