#include "WindowHarness.h"

#include "app/RecentFolder.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QStyleOptionSlider>
#include <QTest>
#include <QTimer>

namespace pwm20::testing {

QByteArray frame(int channel, int value)
{
    return QByteArray("S") + char(channel) + char(value) + 'E';
}

QByteArray everyChannel(int value)
{
    QByteArray bytes;
    for (int channel = 1; channel <= 20; ++channel)
        bytes += frame(channel, value);
    return bytes;
}

QByteArray armHomes()
{
    QByteArray frames;
    for (int channel = 1; channel <= 20; ++channel)
        frames += frame(channel, channel == 5 ? 12 : 19);
    return frames;
}

std::unique_ptr<QTimer> whenShown(std::function<bool()> answer)
{
    auto poll = std::make_unique<QTimer>();
    QObject::connect(poll.get(), &QTimer::timeout, poll.get(),
                     [timer = poll.get(), answer, waited = QElapsedTimer()]() mutable {
                         if (!waited.isValid())
                             waited.start();
                         if (answer() || waited.hasExpired(3000))
                             timer->stop();
                         // What is still up then would wait forever: closed, the test goes on.
                         if (waited.hasExpired(3000) && QApplication::activeModalWidget())
                             QApplication::activeModalWidget()->close();
                     });
    poll->start(20);
    return poll;
}

WindowHarness::WindowHarness(const QString &settingsFile, const QStringList &systemPorts,
                             const Clock &clock)
    : m_choices(settingsFile.isEmpty() ? nullptr : std::make_unique<PortChoices>(settingsFile))
{
    qputenv("PWM20_COM1", m_com1.devicePath().toLocal8Bit());
    qputenv("PWM20_COM2", m_com2.devicePath().toLocal8Bit());
    auto messages = std::make_unique<RecordingMessages>();
    m_messages = messages.get();
    // No real system port may stand in for a missing pseudo-terminal.
    auto comm = std::make_unique<QtSerialService>([systemPorts] { return systemPorts; },
                                                  m_choices.get(), nullptr, clock);
    m_comm = comm.get();
    m_form = std::make_unique<Form1>(
        std::move(comm), std::move(messages),
        settingsFile.isEmpty() ? nullptr : std::make_unique<RecentFolder>(settingsFile));
    m_form->show();
    if (!QTest::qWaitForWindowExposed(m_form.get()))
        qWarning("window not exposed");
}

QPoint WindowHarness::pointOn(int channel, QStyle::SubControl part)
{
    QScrollBar &bar = slider(channel);
    QStyleOptionSlider option;
    option.initFrom(&bar);
    option.orientation = bar.orientation();
    option.minimum = bar.minimum();
    option.maximum = bar.maximum();
    option.sliderPosition = option.sliderValue = bar.value();
    option.singleStep = bar.singleStep();
    option.pageStep = bar.pageStep();
    return bar.style()->subControlRect(QStyle::CC_ScrollBar, &option, part, &bar).center();
}

void WindowHarness::clickOn(int channel, QStyle::SubControl part)
{
    QTest::mouseClick(&slider(channel), Qt::LeftButton, {}, pointOn(channel, part));
}

void WindowHarness::typeAndEnter(int channel, const QString &text)
{
    QLineEdit &box = valueBox(channel);
    box.setFocus();
    box.selectAll();
    QTest::keyClick(&box, Qt::Key_Delete);
    // A long text is pasted, as a person would.
    if (text.size() > 100)
        box.insert(text);
    else
        QTest::keyClicks(&box, text);
    QTest::keyClick(&box, Qt::Key_Return);
}

void WindowHarness::click(QAbstractButton &button)
{
    QTest::mouseClick(&button, Qt::LeftButton);
}

void WindowHarness::openPortAndSettle()
{
    click(button(1));
    m_com1.takeReceived(everyChannel(0).size());
}

} // namespace pwm20::testing
