#include "core/macros/macro_services.h"

#include "core/receive/rxtext.h"
#include "platform/widgets/richtext.h"
#include "state/main_window_controls.h"

MacroArray<QString> MacroTexts, MacroCaptions;
MacroArray<std::int32_t> MacroBackColor{}, MacroMouseOverBackColor{};
MacroArray<std::int32_t> MacroForeColor{}, MacroMouseOverForeColor{};
MacroArray<QString> MacroFontName, MacroMouseOverFontName;
MacroArray<std::int32_t> MacroFontSize{}, MacroMouseOverFontSize{};
MacroArray<bool> MacroFontBold{}, MacroMouseOverFontBold{};
MacroArray<bool> MacroFontItalic{}, MacroMouseOverFontItalic{};

QString MacroKey(const char* name, int n)
{
    return QString::fromLatin1(name) + QString::number(n);
}

QString MacroTextFromStore(const QString& stored)
{
    QString text = stored;
    text.replace(u'~', QStringLiteral("\r\n"));
    return text;
}

