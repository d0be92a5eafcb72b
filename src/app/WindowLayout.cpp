#include "WindowLayout.h"

#include "channels/ChannelTable.h"

#include <QCoreApplication>
#include <algorithm>
#include <array>

namespace pwm20::WindowLayout {
namespace {

// Tab indexes per channel: slider, label, value box. The boxes' order has its uneven spots
// (v5, v7, v6, v8; v10, v12, v11; v15, v17, v16, v18), kept as users know them.
struct RowTabs
{
    int slider;
    int label;
    int valueBox;
};
constexpr std::array<RowTabs, ChannelTable::channelCount> rowTabs{{
    {0, 3, 45},   {1, 4, 46},   {2, 5, 47},   {6, 7, 48},   {8, 9, 49},
    {10, 11, 51}, {12, 13, 50}, {14, 15, 52}, {16, 17, 53}, {18, 19, 54},
    {20, 23, 56}, {21, 24, 55}, {22, 25, 57}, {26, 27, 58}, {28, 29, 59},
    {30, 31, 61}, {32, 33, 60}, {34, 35, 62}, {36, 37, 63}, {38, 39, 64},
}};

void addChannelRow(std::vector<ControlPlace> &places, int channel)
{
    const bool upperBank = channel <= 10;
    const int column = upperBank ? channel - 1 : channel - 11;
    const int bankOffset = upperBank ? 0 : 3480;
    const int left = 120 + 480 * column;
    const QString number = QString::number(channel);
    const QString caption = QStringLiteral("PWM") + number;
    const RowTabs &tabs = rowTabs[static_cast<std::size_t>(channel - 1)];

    ControlPlace label;
    label.name = QStringLiteral("Label") + number;
    label.kind = ControlKind::Label;
    label.twips = QRect(left, 120 + bankOffset, channel <= 9 ? 360 : 450, 180);
    label.caption = caption;
    label.tabIndex = tabs.label;

    ControlPlace slider;
    slider.name = QStringLiteral("VScroll") + number;
    slider.kind = ControlKind::Slider;
    slider.twips = QRect(left, 360 + bankOffset, 375, 2655);
    slider.tabIndex = tabs.slider;

    ControlPlace valueBox;
    valueBox.name = QStringLiteral("v") + number;
    valueBox.kind = ControlKind::ValueBox;
    valueBox.twips = QRect(left, 3120 + bankOffset, 375, 270);
    valueBox.caption = QStringLiteral("0");
    valueBox.tabIndex = tabs.valueBox;

    for (ControlPlace *place : {&label, &slider, &valueBox}) {
        place->channel = channel;
        place->accessibleName = caption;
        places.push_back(*place);
    }
}

ControlPlace rightHand(const char *name, ControlKind kind, QRect twips, QString caption,
                       FontRole font, int tabIndex)
{
    ControlPlace place;
    place.name = QString::fromLatin1(name);
    place.kind = kind;
    place.twips = twips;
    place.caption = caption;
    place.accessibleName = caption;
    place.font = font;
    place.tabIndex = tabIndex;
    return place;
}

} // namespace

QString title()
{
    return QCoreApplication::translate("WindowLayout", "20路PWM上机位程序----Varnok");
}

QSize clientTwips()
{
    return {7650, 6990};
}

std::vector<ControlPlace> controls()
{
    std::vector<ControlPlace> places;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel)
        addChannelRow(places, channel);

    using enum ControlKind;
    using enum FontRole;
    // One caption in Chinese, two in English: the heading of the batch area and its button.
    const QString batchArea = QCoreApplication::translate("WindowLayout", "批量发送", "heading");
    places.push_back(rightHand("Option1", OptionButton, {5280, 120, 735, 255},
                               QStringLiteral("com1"), Window, 41));
    places.back().selected = true;
    places.push_back(rightHand("Option2", OptionButton, {5280, 360, 735, 255},
                               QStringLiteral("com2"), Window, 42));
    places.push_back(rightHand("Command1", Button, {6360, 120, 1095, 495},
                               QCoreApplication::translate("WindowLayout", "打开串口"), Window,
                               40));
    places.push_back(rightHand("Label21", Label, {4920, 840, 1200, 240},
                               QCoreApplication::translate("WindowLayout", "命令状态："), Large,
                               44));
    places.push_back(rightHand("Text1", TextBox, {6000, 720, 1455, 375}, {}, Large, 43));
    places.back().accessibleName = QCoreApplication::translate("WindowLayout", "命令状态");
    places.push_back(rightHand("Label22", Label, {4920, 1320, 1200, 240},
                               QCoreApplication::translate("WindowLayout", "返回数据："), Large,
                               66));
    places.push_back(rightHand("Text2", TextBox, {6000, 1200, 1455, 375}, {}, Large, 65));
    places.back().accessibleName = QCoreApplication::translate("WindowLayout", "返回数据");
    places.push_back(rightHand("Label23", Label, {5640, 1680, 960, 240}, batchArea, Large, 69));
    places.push_back(
        rightHand("RichTextBox1", RichTextBox, {4920, 2040, 2655, 3495}, {}, Window, 67));
    places.back().accessibleName = batchArea;
    places.push_back(rightHand("Command2", Button, {4920, 5640, 2535, 495},
                               QCoreApplication::translate("WindowLayout", "批量发送", "button"),
                               Window, 68));
    places.push_back(rightHand("Command3", Button, {4920, 6240, 1335, 615},
                               QCoreApplication::translate("WindowLayout", "全关"), Window, 70));
    places.back().enabled = false;
    places.push_back(rightHand("Command4", Button, {6360, 6240, 1215, 615},
                               QCoreApplication::translate("WindowLayout", "舵机全归中"), Window,
                               71));
    places.back().enabled = false;
    return places;
}

std::vector<ControlPlace> tabChain()
{
    std::vector<ControlPlace> chain = controls();
    std::erase_if(chain,
                  [](const ControlPlace &place) { return place.kind == ControlKind::Label; });
    std::ranges::sort(chain, {}, &ControlPlace::tabIndex);
    return chain;
}

QRect toPixels(const QRect &twips)
{
    return {twips.x() / twipsPerPixel, twips.y() / twipsPerPixel, twips.width() / twipsPerPixel,
            twips.height() / twipsPerPixel};
}

QSize toPixels(const QSize &twips)
{
    return twips / twipsPerPixel;
}

} // namespace pwm20::WindowLayout
