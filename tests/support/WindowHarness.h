#pragma once

#include "PtyPair.h"
#include "RecordingMessages.h"

#include <QByteArray>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QString>

#include <memory>

namespace pwm20 {
class Form1;
class QtSerialService;
} // namespace pwm20

namespace pwm20::testing {

// The real window on the real serial service, with com1 and com2 mapped to two pty pairs.
class WindowHarness
{
public:
    WindowHarness();
    ~WindowHarness();

    Form1 &form() { return *m_form; }
    QtSerialService &comm() { return *m_comm; }
    PtyPair &com1() { return m_com1; }
    PtyPair &com2() { return m_com2; }
    RecordingMessages &messages() { return *m_messages; }

    QScrollBar &slider(int channel);
    QLineEdit &valueBox(int channel);
    QLineEdit &text1();
    QLineEdit &text2();
    QPushButton &button(int number);
    QRadioButton &option(int number);

    // Input as a person gives it.
    void clickUpArrow(int channel);
    void clickDownArrow(int channel);
    void clickTrackAboveThumb(int channel);
    void typeAndEnter(int channel, const QString &text);
    void click(QAbstractButton &button);
    void openPort(); // Command1 from the closed state; asserts nothing
    void moveSliderTo(int channel, int position);

    static QByteArray frame(int channel, int value);
    static QByteArray frames(std::initializer_list<std::pair<int, int>> channelValues);
    static QByteArray allOffLoop();

private:
    PtyPair m_com1;
    PtyPair m_com2;
    RecordingMessages *m_messages = nullptr;
    QtSerialService *m_comm = nullptr;
    std::unique_ptr<Form1> m_form;
};

} // namespace pwm20::testing
