#pragma once

#include <QRect>
#include <QSize>
#include <QString>

#include <vector>

namespace pwm20 {

// The window's fixed layout, in twips from the top-left of the client area
// (15 twips are one pixel at 96 dpi). Nothing is created, moved or resized after start.
enum class ControlKind { Label, Slider, ValueBox, OptionButton, Button, TextBox, RichTextBox };
enum class FontRole { Window, Large };

struct ControlPlace
{
    QString name;
    ControlKind kind = ControlKind::Label;
    QRect twips;
    QString caption;
    QString accessibleName;
    FontRole font = FontRole::Window;
    int tabIndex = 0;
    int channel = 0; // 1..20 for a channel row's controls
    bool enabled = true;
    bool selected = false;
};

namespace WindowLayout {

QString title();
QSize clientTwips();
// Every control of the window: the sixty channel-row controls computed from their rule, then the
// right-hand controls.
std::vector<ControlPlace> controls();
// Controls that take the keyboard focus, in tab order.
std::vector<ControlPlace> tabChain();

constexpr int twipsPerPixel = 15;
QRect toPixels(const QRect &twips);
QSize toPixels(const QSize &twips);

} // namespace WindowLayout
} // namespace pwm20
