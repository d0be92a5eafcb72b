#pragma once

#include <QFont>

namespace pwm20 {

// The window's Song-style font. Where "宋体" is missing, a Song font with the same metrics stands
// in (9 pt: 12-pixel text, 6-pixel ASCII), so captions fit the fixed layout.
QFont songFont(int pointSize);

} // namespace pwm20
