#pragma once

#include "serial/SerialService.h"

namespace pwm20::testing {

// An in-memory serial service, for the events a pseudo-terminal cannot produce (break, framing,
// modem lines).
class FakeSerialService final : public SerialService
{
    Q_OBJECT

public:
    using SerialService::SerialService;

    void setCommPort(int port) override { m_commPort = port; }
    int commPort() const override { return m_commPort; }
    bool setSettings(const QString &settings) override
    {
        m_settings = settings;
        return true;
    }
    QString settings() const override { return m_settings; }
    void setRThreshold(int threshold) override { m_rThreshold = threshold; }
    int rThreshold() const override { return m_rThreshold; }
    bool portOpen() const override { return m_open; }
    bool setPortOpen(bool open) override
    {
        m_open = open;
        return true;
    }
    OpenFailure openFailure() const override { return {}; }
    QString openDevice() const override { return m_open ? QStringLiteral("fake") : QString(); }
    void output(const QByteArray &bytes) override { m_written += bytes; }
    QString input() override { return std::exchange(m_waiting, {}); }
    CommEvent commEvent() const override { return m_event; }

    // The board's side.
    void raise(CommEvent event, const QString &waiting = {})
    {
        m_waiting += waiting;
        m_event = event;
        Q_EMIT commEventRaised();
    }
    QByteArray takeWritten() { return std::exchange(m_written, {}); }

private:
    int m_commPort = 0;
    QString m_settings;
    int m_rThreshold = 0;
    bool m_open = false;
    QByteArray m_written;
    QString m_waiting;
    CommEvent m_event = CommEvent::None;
};

} // namespace pwm20::testing
