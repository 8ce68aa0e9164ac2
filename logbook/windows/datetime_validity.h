#pragma once
// The check of a date and time typed into the Mini-Log's "Date/Time UTC" cell: "DD MMM YY HH:MM"
// with optional ":SS", strictly as the grid shows it. Years "00".."39" are 2000..2039 and
// "40".."99" 1940..1999; month names "Jan".."Dec" in any letter case.
#include <QString>

struct DatetimeCheck {
    QString key;   // the new QSO key (the day number, no leading blank); empty when refused
    QString title; // the refusal's message box title and text; empty when accepted
    QString text;
};

DatetimeCheck CheckDatetime(const QString& typed);
