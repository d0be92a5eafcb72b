#pragma once

#include <QFont>

namespace pwm20 {

// The window's Song-style font. Where "宋体" is missing, a Song font with the same metrics stands
// in (9 pt: 12-pixel text, 6-pixel ASCII), so captions fit the fixed layout.
QFont songFont(int pointSize);

// The batch box's fixed-pitch font, with Chinese, at the size of the window's font; the system's
// fixed-pitch font where none of its faces is installed.
QFont fixedPitchFont();

} // namespace pwm20
