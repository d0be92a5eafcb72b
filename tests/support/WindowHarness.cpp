#include "WindowHarness.h"

#include "app/Form1.h"
#include "serial/QtSerialService.h"

#include <QStyle>
#include <QStyleOptionSlider>
#include <QTest>

namespace pwm20::testing {
namespace {

QPoint centreOf(QScrollBar &bar, QStyle::SubControl part)
{
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.subControls = QStyle::SC_All;
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = bar.sliderPosition();
    option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar).center();
}

} // namespace

WindowHarness::WindowHarness()
{
    qputenv("PWM20_COM1", m_com1.devicePath().toLocal8Bit());
    qputenv("PWM20_COM2", m_com2.devicePath().toLocal8Bit());
    auto messages = std::make_unique<RecordingMessages>();
    m_messages = messages.get();
    // No system port may stand in for a missing pty.
    auto comm = std::make_unique<QtSerialService>([] { return QStringList(); }, nullptr);
    m_comm = comm.get();
    m_form = std::make_unique<Form1>(std::move(comm), std::move(messages));
    m_form->show();
    if (!QTest::qWaitForWindowExposed(m_form.get()))
        qWarning("window not exposed");
}

WindowHarness::~WindowHarness() = default;

QScrollBar &WindowHarness::slider(int channel)
{
    return *m_form->findChild<QScrollBar *>(QStringLiteral("VScroll%1").arg(channel));
}

QLineEdit &WindowHarness::valueBox(int channel)
{
    return *m_form->findChild<QLineEdit *>(QStringLiteral("v%1").arg(channel));
}

QLineEdit &WindowHarness::text1()
{
    return *m_form->findChild<QLineEdit *>(QStringLiteral("Text1"));
}

QLineEdit &WindowHarness::text2()
{
    return *m_form->findChild<QLineEdit *>(QStringLiteral("Text2"));
}

QPushButton &WindowHarness::button(int number)
{
    return *m_form->findChild<QPushButton *>(QStringLiteral("Command%1").arg(number));
}

QRadioButton &WindowHarness::option(int number)
{
    return *m_form->findChild<QRadioButton *>(QStringLiteral("Option%1").arg(number));
}

void WindowHarness::clickUpArrow(int channel)
{
    QScrollBar &bar = slider(channel);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, centreOf(bar, QStyle::SC_ScrollBarSubLine));
}

void WindowHarness::clickDownArrow(int channel)
{
    QScrollBar &bar = slider(channel);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, centreOf(bar, QStyle::SC_ScrollBarAddLine));
}

void WindowHarness::clickTrackAboveThumb(int channel)
{
    QScrollBar &bar = slider(channel);
    QTest::mouseClick(&bar, Qt::LeftButton, {}, centreOf(bar, QStyle::SC_ScrollBarSubPage));
}

void WindowHarness::typeAndEnter(int channel, const QString &text)
{
    QLineEdit &box = valueBox(channel);
    box.setFocus();
    box.selectAll();
    if (text.isEmpty())
        QTest::keyClick(&box, Qt::Key_Delete);
    else
        QTest::keyClicks(&box, text);
    QTest::keyClick(&box, Qt::Key_Return);
}

void WindowHarness::click(QAbstractButton &button)
{
    QTest::mouseClick(&button, Qt::LeftButton);
}

void WindowHarness::openPort()
{
    click(button(1));
}

void WindowHarness::moveSliderTo(int channel, int position)
{
    typeAndEnter(channel, QString::number(255 - position));
}

QByteArray WindowHarness::frame(int channel, int value)
{
    return QByteArray{"S"} + char(channel) + char(value) + 'E';
}

QByteArray WindowHarness::frames(std::initializer_list<std::pair<int, int>> channelValues)
{
    QByteArray bytes;
    for (const auto &[channel, value] : channelValues)
        bytes += frame(channel, value);
    return bytes;
}

QByteArray WindowHarness::allOffLoop()
{
    QByteArray bytes;
    for (int channel = 1; channel <= 20; ++channel)
        bytes += frame(channel, 0);
    return bytes;
}

} // namespace pwm20::testing
