#pragma once

#include <QString>

class QLineEdit;

namespace pwm20 {

class ChannelSlider;
class ChannelTable;
class FrameSend;
class MessagePresenter;

// One channel: its slider and value box show the same value, the slider upside down
// (position 255 is value 0). A position change is the only way a row writes a frame, and the
// row never writes a value the channel's limits refuse.
class ChannelRow
{
public:
    ChannelRow(int channel, ChannelSlider &slider, QLineEdit &valueBox, FrameSend &frames,
               const ChannelTable &table, MessagePresenter &messages);

    int channel() const { return m_channel; }
    // The channel value the slider stands for.
    int value() const;

    // The slider's position changed: bring it to rest within the limits, show the value and
    // send the channel's frame; pushed past the limit it rests on, it sends nothing.
    void change();
    // Enter in the value box: move the slider to the typed value, or reset a bad entry to "0".
    void enter();

    // As a group command sets the slider; a real change runs change() before this returns.
    void setValue(int value);
    // The board was sent `value` for this channel another way: show it, sending nothing.
    void showSent(int value);
    // Sends `value` as a slider move to it would, even when the slider already stands there.
    void sendValue(int value);

private:
    int m_channel = 0;
    ChannelSlider &m_slider;
    QLineEdit &m_valueBox;
    FrameSend &m_frames;
    const ChannelTable &m_table;
    MessagePresenter &m_messages;
    // Where the slider last came to rest: one step down from the minimum switches off.
    int m_restingValue = 0;
};

} // namespace pwm20
