#include "ChannelRow.h"

#include "ChannelSlider.h"
#include "FrameSend.h"
#include "channels/ChannelTexts.h"
#include "channels/EntryParser.h"
#include "serial/MessagePresenter.h"

#include <QLineEdit>
#include <QLocale>
#include <QSignalBlocker>

namespace pwm20 {

ChannelRow::ChannelRow(int channel, ChannelSlider &slider, QLineEdit &valueBox, FrameSend &frames,
                       const ChannelTable &table, MessagePresenter &messages)
    : m_channel(channel), m_slider(slider), m_valueBox(valueBox), m_frames(frames), m_table(table),
      m_messages(messages)
{}

void ChannelRow::change()
{
    const int moved = value();
    const int resting =
        m_table.restingValue(m_channel, m_restingValue, moved, m_slider.takeDropped());
    if (resting == m_restingValue && resting != moved) {
        // Pushed past a limit it already rests on: the board has this value already.
        showSent(resting);
        return;
    }
    if (resting != moved) {
        // The slider moves on to where it may rest, and that change sends the frame.
        setValue(resting);
        return;
    }
    m_restingValue = moved;
    m_valueBox.setText(QString::number(moved));
    m_frames.channelFrameSend(m_channel, m_valueBox);
}

void ChannelRow::enter()
{
    const std::optional<int> position = sliderPositionForEntry(
        m_valueBox.text().toStdString(), QLocale().decimalPoint().toStdString());
    if (!position) {
        m_valueBox.setText(QStringLiteral("0"));
        return;
    }
    if (!m_table.accepts(m_channel, ChannelSlider::valueAt(*position))) {
        m_messages.showWarning(channelLimitsText(m_table, m_channel));
        m_valueBox.setText(QString::number(value()));
        return;
    }
    // An unchanged position raises no change, and the box keeps the text as typed.
    m_slider.setValue(*position);
}

void ChannelRow::setValue(int value)
{
    m_slider.setValue(ChannelSlider::positionOf(value));
}

int ChannelRow::value() const
{
    return ChannelSlider::valueAt(m_slider.value());
}

void ChannelRow::sendValue(int value)
{
    // Setting the position it already has raises no change, yet a batch says what to send.
    if (this->value() == value)
        change();
    else
        setValue(value);
}

void ChannelRow::showSent(int value)
{
    const QSignalBlocker quiet(m_slider);
    setValue(value);
    m_restingValue = value;
    m_valueBox.setText(QString::number(value));
}

} // namespace pwm20
