#pragma once
// Text and back colours of the main window's indicator labels, as Windows RGB numbers.
#include <cstdint>

class QWidget;

namespace labelcolor {
void setFore(QWidget* label, std::int32_t rgbNumber);
void setBack(QWidget* label, std::int32_t rgbNumber);
std::int32_t fore(const QWidget* label);
std::int32_t back(const QWidget* label);
} // namespace labelcolor
