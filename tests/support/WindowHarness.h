#pragma once

#include "HandClock.h"
#include "PtyPair.h"
#include "RecordingMessages.h"

#include "app/Form1.h"
#include "serial/PortChoices.h"
#include "serial/QtSerialService.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <QTimer>

#include <functional>
#include <memory>
#include <utility>

namespace pwm20::testing {

QByteArray frame(int channel, int value);
// A frame for each channel, 1 to 20, with one value: the twenty off frames that every all-off
// ends with, for 0.
QByteArray everyChannel(int value);
// What centre all sends from all off when channel 5, a shoulder, rests at 12.
QByteArray armHomes();

// Runs `answer` every 20 ms until it returns true, 3 s have passed (when a dialog still up is
// closed) or the result is dropped: answers a dialog or a menu that the next input opens, so that
// a test never hangs on one.
[[nodiscard]] std::unique_ptr<QTimer> whenShown(std::function<bool()> answer);

// The real window on the real serial service, com1 and com2 mapped to two pseudo-terminals.
class WindowHarness
{
public:
    // `settingsFile` keeps the devices chosen for the ports and the batch files' folder; none are
    // kept without one. `systemPorts` is what the system lists. The line's time is kept on `clock`.
    explicit WindowHarness(const QString &settingsFile = {}, const QStringList &systemPorts = {},
                           const Clock &clock = SteadyClock::instance());

    Form1 &form() { return *m_form; }
    QtSerialService &comm() { return *m_comm; }
    PtyPair &com1() { return m_com1; }
    PtyPair &com2() { return m_com2; }
    RecordingMessages &messages() { return *m_messages; }

    template <typename Control> Control &control(const QString &name)
    {
        return *m_form->findChild<Control *>(name);
    }
    QScrollBar &slider(int channel) { return control<QScrollBar>(named("VScroll", channel)); }
    QLineEdit &valueBox(int channel) { return control<QLineEdit>(named("v", channel)); }
    QLabel &label(int channel) { return control<QLabel>(named("Label", channel)); }
    QLineEdit &text1() { return control<QLineEdit>(QStringLiteral("Text1")); }
    QLineEdit &text2() { return control<QLineEdit>(QStringLiteral("Text2")); }
    QPushButton &button(int number) { return control<QPushButton>(named("Command", number)); }
    QRadioButton &option(int number) { return control<QRadioButton>(named("Option", number)); }

    // Input as a person gives it.
    QPoint pointOn(int channel, QStyle::SubControl part);
    void clickOn(int channel, QStyle::SubControl part);
    void typeAndEnter(int channel, const QString &text);
    void click(QAbstractButton &button);
    // Opens com1 and takes the twenty all-off frames that opening sends.
    void openPortAndSettle();

private:
    static QString named(const char *kind, int number)
    {
        return QString::fromLatin1(kind) + QString::number(number);
    }

    std::unique_ptr<PortChoices> m_choices;
    PtyPair m_com1;
    PtyPair m_com2;
    RecordingMessages *m_messages = nullptr;
    QtSerialService *m_comm = nullptr;
    std::unique_ptr<Form1> m_form;
};

} // namespace pwm20::testing
