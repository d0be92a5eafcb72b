#pragma once

#include <QObject>
#include <QString>

class QWidget;

namespace pwm20 {

class MessagePresenter;

// Shows a warning over a window that is not on screen yet, once the window has been painted
// there, then goes. It lives as the window's child, so it goes with the window too.
class WarningWhenShown final : public QObject
{
public:
    WarningWhenShown(QWidget &window, MessagePresenter &messages, QString text);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    MessagePresenter &m_messages;
    QString m_text;
    bool m_due = false;
};

} // namespace pwm20
