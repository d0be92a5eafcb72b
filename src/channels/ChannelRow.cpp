#include "ChannelRow.h"

#include "ChannelSlider.h"
#include "EntryParser.h"
#include "serial/FrameSend.h"

#include <QLineEdit>
#include <QLocale>

namespace pwm20 {

ChannelRow::ChannelRow(int channel, ChannelSlider &slider, QLineEdit &valueBox, FrameSend &frames)
    : m_channel(channel), m_slider(slider), m_valueBox(valueBox), m_frames(frames)
{}

void ChannelRow::change()
{
    m_valueBox.setText(QString::number(ChannelSlider::offPosition - m_slider.value()));
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
    // An unchanged position raises no change, and the box keeps the text as typed.
    m_slider.setValue(*position);
}

void ChannelRow::setPosition(int position)
{
    m_slider.setValue(position);
}

int ChannelRow::value() const
{
    return ChannelSlider::offPosition - m_slider.value();
}

void ChannelRow::sendValue(int value)
{
    const int position = ChannelSlider::offPosition - value;
    // Setting the position it already has raises no change, yet a batch says what to send.
    if (m_slider.value() == position)
        change();
    else
        m_slider.setValue(position);
}

void ChannelRow::setValueText(const QString &text)
{
    m_valueBox.setText(text);
}

} // namespace pwm20
