#pragma once

#include "serial/SerialService.h"

namespace pwm20::testing {

// An in-memory serial service, for the line events a pseudo-terminal cannot raise (break, framing,
// modem lines).
class FakeSerialService final : public SerialService
{
    Q_OBJECT

public:
    void setCommPort(int port) override { m_commPort = port; }
    int commPort() const override { return m_commPort; }
    PortDevice portDevice(int) const override { return {}; }
    void chooseDevice(int, const QString &) override {}
    bool setSettings(const QString &) override { return true; }
    QString settings() const override { return {}; }
    void setRThreshold(int) override {}
    int rThreshold() const override { return 1; }
    bool portOpen() const override { return m_open; }
    bool setPortOpen(bool open) override
    {
        m_open = open;
        return true;
    }
    OpenFailure openFailure() const override { return {}; }
    QString openDevice() const override { return {}; }
    void output(const QByteArray &) override {}
    QString input() override { return std::exchange(m_waiting, {}); }
    CommEvent commEvent() const override { return m_event; }

    // The board's side: `waiting` joins the data waiting to be read.
    void raise(CommEvent event, const QString &waiting = {})
    {
        m_waiting += waiting;
        m_event = event;
        Q_EMIT commEventRaised();
    }

private:
    int m_commPort = 1;
    bool m_open = false;
    QString m_waiting;
    CommEvent m_event = CommEvent::None;
};

} // namespace pwm20::testing
