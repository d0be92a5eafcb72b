#pragma once

#include "LineSettings.h"
#include "PortChoices.h"
#include "SerialService.h"

#include <QMap>
#include <QSerialPort>

#include <functional>

namespace pwm20 {

// The serial service on a real port. Port n stands for the device named on the command line, else
// in PWM20_COMn, else the one the user chose in an earlier run, else COMn on Windows and elsewhere
// the n-th port the system lists at the moment of opening; always by its path, however named.
class QtSerialService final : public SerialService
{
    Q_OBJECT

public:
    // `systemPorts` lists the system's serial port names; tests give their own list.
    using PortLister = std::function<QStringList()>;

    // `choices` keeps the user's choices of device; none are kept without it.
    explicit QtSerialService(PortChoices *choices = nullptr, QObject *parent = nullptr);
    QtSerialService(PortLister systemPorts, PortChoices *choices, QObject *parent,
                    const Clock &clock = SteadyClock::instance());
    ~QtSerialService() override;

    void setCommPort(int port) override;
    int commPort() const override { return m_commPort; }
    PortDevice portDevice(int port) const override;
    QStringList systemPorts() const override;
    void chooseDevice(int port, const QString &device) override;
    bool setSettings(const QString &settings) override;
    QString settings() const override { return m_settingsText; }
    void setRThreshold(int threshold) override;
    int rThreshold() const override { return m_rThreshold; }
    bool portOpen() const override;
    bool setPortOpen(bool open) override;
    OpenFailure openFailure() const override { return m_openFailure; }
    QString openDevice() const override;
    QString input() override;
    CommEvent commEvent() const override { return m_commEvent; }

    // The device named for port `port` on the command line; empty undoes that.
    void setPortDevice(int port, const QString &device);

    static QStringList listSystemPorts();

protected:
    bool writeBytes(const QByteArray &bytes) override;

private:
    bool openPort();
    void closePort();
    void raise(CommEvent event);
    void reportReceived();
    void reportError(QSerialPort::SerialPortError error);
    OpenFailure failureOf(const PortDevice &device) const;

    QSerialPort m_port;
    PortLister m_systemPorts;
    PortChoices *m_choices = nullptr;
    int m_commPort = 1;
    QString m_settingsText = QStringLiteral("9600,n,8,1");
    LineSettings m_lineSettings;
    int m_rThreshold = 0;
    CommEvent m_commEvent = CommEvent::None;
    OpenFailure m_openFailure;
    QString m_openDevice;
    QMap<int, QString> m_portDevices;
    // A dead device repeats its error many thousand times a second until closed: report it once.
    bool m_lossReported = false;
};

} // namespace pwm20
