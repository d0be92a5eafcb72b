#include "WindowPlace.h"

#include <QScreen>
#include <QWidget>

namespace pwm20 {

void moveBeside(QWidget &second, const QWidget &main)
{
    const QRect frame = main.frameGeometry();
    const QRect room = main.screen()->availableGeometry();
    const int frameWidth = frame.width() - main.width();
    QPoint at(frame.right() + 1, frame.top());
    if (at.x() + second.width() + frameWidth > room.right() + 1)
        at.setX(frame.left() - second.width() - frameWidth);
    if (at.x() < room.left())
        at.setX(room.right() + 1 - second.width() - frameWidth);
    second.move(at);
}

} // namespace pwm20
