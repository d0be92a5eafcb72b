// Draws the program's icon: two grey tower computers joined by a cable.
//   draw_icon OUTPUT.png|OUTPUT.ico [SIZE]
// Without SIZE it draws the window's own icon, 32 pixels in 24-bit colour on white: run it so to
// regenerate src/app/icons/pwm20.png after changing the drawing. With SIZE it draws the icon
// desktops look for, on a transparent background.
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>

#include <cstdio>
#include <cstdlib>

namespace {

void drawTower(QPainter &painter, QRectF body)
{
    painter.setPen(QPen(QColor(72, 72, 72), 1));
    painter.setBrush(QColor(176, 176, 176));
    painter.drawRect(body);
    // Front panel: two drive bays, a grille and a power light.
    const qreal x = body.left() + 2;
    const qreal width = body.width() - 4;
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(120, 120, 120));
    painter.drawRect(QRectF(x, body.top() + 3, width, 2));
    painter.drawRect(QRectF(x, body.top() + 7, width, 2));
    painter.setBrush(QColor(144, 144, 144));
    for (qreal y = body.top() + 12; y < body.bottom() - 5; y += 2)
        painter.drawRect(QRectF(x, y, width, 1));
    painter.setBrush(QColor(40, 200, 60));
    painter.drawRect(QRectF(x, body.bottom() - 4, 2, 2));
}

} // namespace

int main(int argc, char *argv[])
{
    QGuiApplication app(argc, argv);
    if (argc != 2 && argc != 3) {
        std::fprintf(stderr, "usage: draw_icon OUTPUT.png [SIZE]\n");
        return 2;
    }
    const int size = argc == 3 ? std::atoi(argv[2]) : 32;
    if (size < 16 || size > 1024) {
        std::fprintf(stderr, "draw_icon: SIZE must be 16 to 1024\n");
        return 2;
    }
    const bool forDesktop = argc == 3;
    QImage image(size, size, forDesktop ? QImage::Format_ARGB32 : QImage::Format_RGB888);
    image.fill(forDesktop ? QColor(Qt::transparent) : QColor(255, 255, 255));
    QPainter painter(&image);
    // Pixel-exact at 32; smoothed when scaled.
    if (size != 32)
        painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(size / 32.0, size / 32.0);
    // The cable runs from the back of one tower, along the desk, to the other.
    QPainterPath cable;
    cable.moveTo(9.5, 26.5);
    cable.cubicTo(9.5, 31.5, 22.5, 31.5, 22.5, 26.5);
    painter.setPen(QPen(QColor(30, 30, 30), 1.5));
    painter.setBrush(Qt::NoBrush);
    painter.drawPath(cable);
    drawTower(painter, QRectF(2.5, 3.5, 11, 23));
    drawTower(painter, QRectF(18.5, 3.5, 11, 23));
    painter.end();
    // The format follows the file name: .png, or .ico for the Windows program icon.
    return image.save(QString::fromLocal8Bit(argv[1])) ? 0 : 1;
}
