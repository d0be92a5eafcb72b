#pragma once

#include "LineSettings.h"
#include "SerialService.h"

#include <QMap>
#include <QSerialPort>

#include <functional>

namespace pwm20 {

// The serial service on a real port. Port n is COMn on Windows; elsewhere PWM20_COMn names the
// device when set, otherwise port n is the n-th port the system lists at the moment of opening.
class QtSerialService final : public SerialService
{
    Q_OBJECT

public:
    // `systemPorts` lists the system's serial port names; tests give their own list.
    using PortLister = std::function<QStringList()>;

    explicit QtSerialService(QObject *parent = nullptr);
    QtSerialService(PortLister systemPorts, QObject *parent);
    ~QtSerialService() override;

    void setCommPort(int port) override;
    int commPort() const override { return m_commPort; }
    bool setSettings(const QString &settings) override;
    QString settings() const override { return m_settingsText; }
    void setRThreshold(int threshold) override;
    int rThreshold() const override { return m_rThreshold; }
    bool portOpen() const override;
    bool setPortOpen(bool open) override;
    OpenFailure openFailure() const override { return m_openFailure; }
    QString openDevice() const override;
    void output(const QByteArray &bytes) override;
    QString input() override;
    CommEvent commEvent() const override { return m_commEvent; }

    // The device that port `port` stands for right now, empty when there is none.
    QString deviceForCommPort(int port) const;
    // Port `port` stands for `device` from now on, whatever the system lists or PWM20_COMn says;
    // an empty device undoes that.
    void setPortDevice(int port, const QString &device);

    static QStringList listSystemPorts();

private:
    bool openPort();
    void closePort();
    void raise(CommEvent event);
    void reportReceived();
    void reportError(QSerialPort::SerialPortError error);
    OpenFailure failureOf(const QString &device) const;

    QSerialPort m_port;
    PortLister m_systemPorts;
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
