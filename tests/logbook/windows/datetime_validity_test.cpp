// The check of a typed date and time: what it accepts, the key it gives, and each refusal's box.
#include "logbook_windows_fixture.h"

#include "logbook/windows/datetime_validity.h"

#include <QLineEdit>

namespace {

const char* const kFormat = "  The correct format is DD MMM YY HH:MM (seconds, like HH:MM:SS, are optional, and help "
                            "avoid duplicate times in the Logbook).";

TEST(DatetimeCheck, AcceptsAndRefusesExactly)
{
    const struct {
        const char* typed;
        const char* key;   // accepted: the key
        const char* title; // refused: the box
        const char* text;
    } cases[] = {
        {"01 Jan 24  12:00", "45292.5", "", ""},
        {"01 Jan 24 12:00:30", "45292.5003472222", "", ""},
        {"05 jan 24  00:00", "45296", "", ""},
        {"01 JAN 00  00:00", "36526", "", ""},
        {"01 Jan 39  00:00", "50771", "", ""},
        {"01 Jan 40  00:00", "14611", "", ""},
        {"31 Dec 99  23:59:59", "36525.9999884259", "", ""},
        {"29 Feb 24  06:00", "45351.25", "", ""},
        {"29 Feb 23  06:00", "", "Invalid date", "Oops, the date Feb 29, 2023 is not valid."},
        {"5 Jan 24  12:00", "", "Invalid date", "Oops, the date Jan 5, 2024 is not valid."},
        {"31 Apr 24  12:00", "", "Invalid date", "Oops, the date Apr 31, 2024 is not valid."},
        {"01 Jnu 24  12:00", "", "Invalid date", "Oops, the date Jnu 01, 2024 is not valid."},
        {"01 Jan 2024  12:00", "", "Invalid date", "Oops, the date Jan 01, 192024 is not valid."},
        {"01 Jan 4  12:00", "", "Invalid date", "Oops, the date Jan 01, 204 is not valid."},
        {"01 Jan 24  12:5", "", "Invalid time", "Oops, the time 12:5:00 is not valid."},
        {"01 Jan 24  24:00", "", "Invalid time", "Oops, the time 24:00:00 is not valid."},
        {"01 Jan 24  12:05 ", "", "Invalid time", "Oops, the time 12:05 :00 is not valid."},
        {"01 Jan 24  12:05:60", "", "Invalid time", "Oops, the time 12:05:60 is not valid."},
        {"01 Jan 24  9:05", "", "Invalid time", "Oops, the time 9:05:00 is not valid."},
        {"01Jan24", "", "Invalid day", "I can't find a valid day of the month."},
        {"01 Jan24", "", "Invalid month", "I can't find a valid month."},
        {"01 Jan 24", "", "Invalid year", "I can't find a valid year."},
        {"01 Jan 24  1200", "", "Invalid Hour", "I can't find a valid Hour."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed);
        const DatetimeCheck r = CheckDatetime(QString::fromLatin1(c.typed));
        EXPECT_EQ(r.key, c.key);
        EXPECT_EQ(r.title, c.title);
        QString text = QString::fromLatin1(c.text);
        if (text.startsWith("I can't"))
            text += QString::fromLatin1(kFormat);
        EXPECT_EQ(r.text, text);
    }
}

// The window's check shows the refusal in a box and leaves no key; an accepted text leaves its key.
using DatetimeValidity = LogbookWindowsFixture;

TEST_F(DatetimeValidity, TheWindowShowsTheRefusalAndLeavesTheKey)
{
    MiniLog& w = miniLog();
    w.Text1->setText("01 Jan 24  12:00");
    ScratchText.clear();
    w.doDatetimeValidity();
    EXPECT_EQ(ScratchText, "45292.5");
    EXPECT_TRUE(boxes.calls().isEmpty());
    ScratchText.clear();
    w.Text1->setText("01 Jan 24  24:00");
    w.doDatetimeValidity();
    EXPECT_TRUE(ScratchText.isEmpty());
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(boxes.messages()[0].title, "Invalid time");
    EXPECT_EQ(boxes.messages()[0].style, dlg::OKOnly);
}

} // namespace
