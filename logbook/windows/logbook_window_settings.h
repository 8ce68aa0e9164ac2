#pragma once
// What the two logbook windows read from and write to their settings sections alike: the window
// geometry in twips, the grid's font and colours, and the numbers and switches among them.
#include <QRect>
#include <QSize>
#include <QString>
#include <cstdint>

class QWidget;
class LogbookGridView;

namespace logwin {

// The leading number of a stored text; a text that starts with no number gives `fallback`.
double Number(const QString& text, double fallback);
// A stored colour (a Windows RGB number); anything else gives `fallback`.
std::int32_t Colour(const QString& text, std::int32_t fallback);
// A stored "True"/"False" (or a number); anything else gives `fallback`.
bool Truth(const QString& text, bool fallback);

// Whether `section` holds a window's place ("Top" or "Left"), not only its defaults.
bool StoredPlace(const QString& section);

// A window's place as stored: top, left, width and height in twips. Sizes never go below 0.
class StoredGeometry {
public:
    // Reads "Top", "Left", "Width", "Height" of `section` (defaults 0, 0, 9000, 2000) and places
    // the window there.
    void load(QWidget& window, const QString& section);
    // Writes "Top", "Left", "Height", "Width" in Str form (" 1500"); a window the operator did not
    // move or size writes back exactly what was read.
    void save(const QWidget& window, const QString& section) const;
    // Whether the section held the window's place ("Top" or "Left") when it was read.
    bool stored() const { return stored_; }

private:
    bool stored_ = false;
    int top_ = 0, left_ = 0, width_ = 9000, height_ = 2000; // twips as read
    QRect placed_;                                          // pixels as placed
};

// The grid's look from its section: background, font name, size, bold, italic, text colour.
void LoadGridLook(LogbookGridView& grid, const QString& section);
// "Logbook Font" / "Previous QSOs font": the font dialog preset from the grid; a confirmed choice
// is applied and written key by key. False when cancelled.
bool ChooseGridFont(LogbookGridView& grid, const QString& section);
// The background colour dialog for the grid; written when confirmed. False when cancelled.
bool ChooseGridBackground(LogbookGridView& grid, const QString& section);

// The grid at 10 twips from the window's top left corner, as large as the window's stored size
// less the given margins, never negative and never larger than the room the window has; the
// grid's size in twips.
QSize PlaceGrid(QWidget& window, QWidget& grid, int lessHeight, int lessWidth);

} // namespace logwin
