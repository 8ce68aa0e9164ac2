#include "logbook/windows/logbook_window_settings.h"

#include "displays/spectrum/scale.h"
#include "logbook/windows/logbook_grid_view.h"
#include "platform/vb/units.h"
#include "platform/vb/vbnum.h"
#include "platform/widgets/dialogs.h"
#include "settings/ini_values.h"
#include "settings/inistuff.h"

#include <QMainWindow>
#include <algorithm>
#include <cmath>

namespace logwin {

namespace {

constexpr double kLargestTwips = 200000; // far beyond any screen

QString read(const QString& section, const char* key, const char* def)
{
    return ReadINI(section, QString::fromLatin1(key), QString::fromLatin1(def));
}

int twipsOf(const QString& text, int fallback, double low)
{
    const double v = Number(text, fallback);
    if (!std::isfinite(v))
        return fallback;
    return static_cast<int>(vb::RoundHalfEven(std::clamp(v, low, kLargestTwips)));
}

QString truthText(bool b)
{
    return b ? QStringLiteral("True") : QStringLiteral("False");
}

} // namespace

double Number(const QString& text, double fallback)
{
    const double v = vb::Val(text);
    if (v == 0 && !vb::IsNumeric(text))
        return fallback;
    return v;
}

std::int32_t Colour(const QString& text, std::int32_t fallback)
{
    if (!vb::IsNumeric(text))
        return fallback;
    const double v = vb::Val(text);
    return v >= 0 && v <= 0xFFFFFF ? static_cast<std::int32_t>(v) : fallback;
}

bool Truth(const QString& text, bool fallback)
{
    try {
        return inival::Truth(text);
    } catch (const inival::TypeMismatch&) {
        return fallback;
    }
}

bool StoredPlace(const QString& section)
{
    return INIHasKey(section, QStringLiteral("Top")) || INIHasKey(section, QStringLiteral("Left"));
}

void StoredGeometry::load(QWidget& window, const QString& section)
{
    stored_ = StoredPlace(section);
    top_ = twipsOf(read(section, "Top", "0"), 0, -kLargestTwips);
    left_ = twipsOf(read(section, "Left", "0"), 0, -kLargestTwips);
    width_ = twipsOf(read(section, "Width", "9000"), 9000, 0);
    height_ = twipsOf(read(section, "Height", "2000"), 2000, 0);
    window.setGeometry(twips::toPixels(left_), twips::toPixels(top_), std::max(1, twips::toPixels(width_)),
                       std::max(1, twips::toPixels(height_)));
    placed_ = window.geometry();
}

void StoredGeometry::save(const QWidget& window, const QString& section) const
{
    const QRect g = window.geometry();
    const bool same = g == placed_;
    WriteINI(section, QStringLiteral("Top"), vb::Str(same ? top_ : twips::fromPixels(g.top())));
    WriteINI(section, QStringLiteral("Left"), vb::Str(same ? left_ : twips::fromPixels(g.left())));
    WriteINI(section, QStringLiteral("Height"), vb::Str(same ? height_ : twips::fromPixels(g.height())));
    WriteINI(section, QStringLiteral("Width"), vb::Str(same ? width_ : twips::fromPixels(g.width())));
}

void LoadGridLook(LogbookGridView& grid, const QString& section)
{
    grid.setBackColor(Colour(read(section, "Logbook Page Background Color", "16777215"), 16777215));
    QFont font = grid.font();
    font.setFamily(read(section, "Logbook Page Font", "Arial"));
    const double size = Number(read(section, "Logbook Page Font Size", "9"), 9);
    font.setPointSizeF(size > 0 && size < 1000 ? size : 9);
    font.setBold(Truth(read(section, "Logbook Page Font Bold", "False"), false));
    font.setItalic(Truth(read(section, "Logbook Page Font Italic", "False"), false));
    grid.setFont(font);
    grid.setTextColor(Colour(read(section, "Logbook Page Text Color", "0"), 0));
}

bool ChooseGridFont(LogbookGridView& grid, const QString& section)
{
    const QFont current = grid.font();
    const dlg::FontChoice start{current.family(), current.pointSizeF(), current.bold(), current.italic(),
                                grid.textColor()};
    std::optional<dlg::FontChoice> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().font(start, section); });
    if (!chosen)
        return false;
    QFont font = grid.font();
    font.setFamily(chosen->name);
    grid.setFont(font);
    WriteINI(section, QStringLiteral("Logbook Page Font"), chosen->name);
    if (chosen->size > 0 && chosen->size < 1000)
        font.setPointSizeF(chosen->size);
    grid.setFont(font);
    WriteINI(section, QStringLiteral("Logbook Page Font Size"), vb::Text(font.pointSizeF()));
    font.setBold(chosen->bold);
    grid.setFont(font);
    WriteINI(section, QStringLiteral("Logbook Page Font Bold"), truthText(chosen->bold));
    font.setItalic(chosen->italic);
    grid.setFont(font);
    WriteINI(section, QStringLiteral("Logbook Page Font Italic"), truthText(chosen->italic));
    grid.setTextColor(chosen->color);
    WriteINI(section, QStringLiteral("Logbook Page Text Color"), QString::number(chosen->color));
    grid.widenColumnsToText();
    return true;
}

bool ChooseGridBackground(LogbookGridView& grid, const QString& section)
{
    std::optional<std::int32_t> chosen;
    AroundTopmost([&] { chosen = dlg::Dialogs::instance().colour(grid.backColor()); });
    if (!chosen)
        return false;
    grid.setBackColor(*chosen);
    WriteINI(section, QStringLiteral("Logbook Page Background Color"), QString::number(*chosen));
    return true;
}

QSize PlaceGrid(QWidget& window, QWidget& grid, int lessHeight, int lessWidth)
{
    constexpr int kEdge = 10; // twips
    // The window's size as stored (Qt's window geometry), so a stored height of 4440 twips gives
    // a grid 4440 - 20 - lessHeight twips high.
    const QSize outer = window.size();
    int height = twips::fromPixels(outer.height()) - 2 * kEdge - lessHeight;
    int width = twips::fromPixels(outer.width()) - 2 * kEdge - lessWidth;
    // The room inside the window, below its menu bar, bounds the grid as well.
    if (const QWidget* room = grid.parentWidget(); room && room->isVisible()) {
        height = std::min(height, twips::fromPixels(room->height()) - 2 * kEdge);
        width = std::min(width, twips::fromPixels(room->width()) - 2 * kEdge);
    }
    width = std::max(width, 0);
    height = std::max(height, 0);
    grid.setGeometry(twips::toPixels(kEdge), twips::toPixels(kEdge), twips::toPixels(width), twips::toPixels(height));
    return QSize(width, height);
}

} // namespace logwin
