#pragma once

#include <QString>

class QLineEdit;

namespace pwm20 {

class ChannelSlider;
class FrameSend;

// One channel: its slider and value box show the same value, the slider upside down
// (position 255 is value 0). A position change is the only way a row writes a frame.
class ChannelRow
{
public:
    ChannelRow(int channel, ChannelSlider &slider, QLineEdit &valueBox, FrameSend &frames);

    int channel() const { return m_channel; }
    // The channel value the slider stands for.
    int value() const;

    // The slider's position changed: show the value and send the channel's frame.
    void change();
    // Enter in the value box: move the slider to the typed value, or reset a bad entry to "0".
    void enter();

    // As a group command sets the slider; a real change runs change() before this returns.
    void setPosition(int position);
    void setValueText(const QString &text);
    // Sends `value` as a slider move to it would, even when the slider already stands there.
    void sendValue(int value);

private:
    int m_channel = 0;
    ChannelSlider &m_slider;
    QLineEdit &m_valueBox;
    FrameSend &m_frames;
};

} // namespace pwm20
