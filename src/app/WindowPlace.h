#pragma once

class QWidget;

namespace pwm20 {

// Moves a second window, sized already, to the main window's right, or its left where the screen
// has no room; never over it where either side has room.
void moveBeside(QWidget &second, const QWidget &main);

} // namespace pwm20
