#include "QtSerialService.h"

#include "PortNaming.h"
#include "ReceiveText.h"

#include <QSerialPortInfo>

#include <QtGlobal>
#include <algorithm>

#ifdef Q_OS_UNIX
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>
#endif

namespace pwm20 {
namespace {

// The board's input buffer: what one receive event may take in at most.
constexpr qint64 inputBufferSize = 1024;

QSerialPort::Parity toQt(LineSettings::Parity parity)
{
    switch (parity) {
    case LineSettings::Parity::Even:
        return QSerialPort::EvenParity;
    case LineSettings::Parity::Odd:
        return QSerialPort::OddParity;
    case LineSettings::Parity::Mark:
        return QSerialPort::MarkParity;
    case LineSettings::Parity::Space:
        return QSerialPort::SpaceParity;
    case LineSettings::Parity::None:
        break;
    }
    return QSerialPort::NoParity;
}

QSerialPort::StopBits toQt(LineSettings::StopBits stopBits)
{
    switch (stopBits) {
    case LineSettings::StopBits::OneAndHalf:
        return QSerialPort::OneAndHalfStop;
    case LineSettings::StopBits::Two:
        return QSerialPort::TwoStop;
    case LineSettings::StopBits::One:
        break;
    }
    return QSerialPort::OneStop;
}

bool isDeviceLoss(QSerialPort::SerialPortError error)
{
    return error == QSerialPort::ReadError || error == QSerialPort::WriteError ||
           error == QSerialPort::ResourceError;
}

#ifdef Q_OS_UNIX
// What the driver still holds leaves the line before the port closes, which would throw it away,
// and then the adapter's own buffer, by the time the line needs for it: a second at most in all.
// A stuck adapter's bytes are dropped then, or closing would wait on them for half a minute more.
void drainDriver(int handle, qint64 lineFreeInNs)
{
    constexpr int pollMs = 10;
    for (int waitedMs = 0; waitedMs < 1000; waitedMs += pollMs) {
        int queued = 0;
        if (::ioctl(handle, TIOCOUTQ, &queued) != 0)
            return;
        if (queued == 0) {
            ::usleep(useconds_t(
                std::clamp<qint64>(lineFreeInNs / 1000, 0, 1'000'000 - waitedMs * 1000)));
            return;
        }
        ::usleep(pollMs * 1000);
        lineFreeInNs -= pollMs * 1'000'000;
    }
    ::tcflush(handle, TCOFLUSH);
}
#endif

} // namespace

QtSerialService::QtSerialService(PortChoices *choices, QObject *parent)
    : QtSerialService(&listSystemPorts, choices, parent)
{}

QtSerialService::QtSerialService(PortLister systemPorts, PortChoices *choices, QObject *parent,
                                 const Clock &clock)
    : SerialService(parent, clock), m_systemPorts(std::move(systemPorts)), m_choices(choices)
{
    m_lineSettings = *LineSettings::parse(m_settingsText);
    connect(&m_port, &QSerialPort::readyRead, this, &QtSerialService::reportReceived);
    connect(&m_port, &QSerialPort::errorOccurred, this, &QtSerialService::reportError);
}

QtSerialService::~QtSerialService()
{
    // Nothing may reach the window while it is being torn down.
    m_port.disconnect(this);
}

QStringList QtSerialService::listSystemPorts()
{
    QStringList names;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts())
        names << info.portName();
    return names;
}

void QtSerialService::setPortDevice(int port, const QString &device)
{
    if (device.isEmpty())
        m_portDevices.remove(port);
    else
        m_portDevices.insert(port, device);
}

PortDevice QtSerialService::portDevice(int port) const
{
    NamedDevices named;
    named.commandLine = m_portDevices.value(port);
    named.environment =
        qEnvironmentVariable(QStringLiteral("PWM20_COM%1").arg(port).toLatin1().constData());
    named.remembered = m_choices ? m_choices->remembered(port) : QString();
#ifdef Q_OS_WIN
    return choosePortDevice(1, named, {QStringLiteral("COM%1").arg(port)});
#else
    PortDevice chosen = choosePortDevice(port, named, systemPorts());
    chosen.device = devicePath(chosen.device);
    return chosen;
#endif
}

QStringList QtSerialService::systemPorts() const
{
    QStringList paths;
    for (const QString &name : m_systemPorts())
        paths << devicePath(name);
    return orderedSerialPorts(paths);
}

void QtSerialService::chooseDevice(int port, const QString &device)
{
    if (m_choices)
        m_choices->remember(port, device);
}

void QtSerialService::setCommPort(int port)
{
    m_commPort = port;
}

bool QtSerialService::setSettings(const QString &settings)
{
    const std::optional<LineSettings> parsed = LineSettings::parse(settings);
    if (!parsed)
        return false;
    m_settingsText = settings;
    m_lineSettings = *parsed;
    return true;
}

void QtSerialService::setRThreshold(int threshold)
{
    m_rThreshold = threshold;
}

bool QtSerialService::portOpen() const
{
    return m_port.isOpen();
}

QString QtSerialService::openDevice() const
{
    return m_port.isOpen() ? m_openDevice : QString();
}

bool QtSerialService::setPortOpen(bool open)
{
    if (open == m_port.isOpen())
        return true;
    if (open)
        return openPort();
    closePort();
    return true;
}

bool QtSerialService::openPort()
{
    m_openFailure = {};
    const PortDevice chosen = portDevice(m_commPort);
    if (chosen.device.isEmpty()) {
        m_openFailure.reason = OpenFailure::Reason::NoSuchPort;
        return false;
    }
    m_port.setPortName(chosen.device);
    m_port.setBaudRate(m_lineSettings.baudRate);
    m_port.setDataBits(static_cast<QSerialPort::DataBits>(m_lineSettings.dataBits));
    m_port.setParity(toQt(m_lineSettings.parity));
    m_port.setStopBits(toQt(m_lineSettings.stopBits));
    m_port.setFlowControl(QSerialPort::NoFlowControl);
    m_port.setReadBufferSize(inputBufferSize);
    m_lossReported = false;
    if (!m_port.open(QIODevice::ReadWrite)) {
        m_openFailure = failureOf(chosen);
        m_port.clearError();
        return false;
    }
    m_openDevice = chosen.device;
    // Many boards take power or reset from these lines; a pseudo-terminal refuses them, harmlessly.
    m_port.setDataTerminalReady(true);
    m_port.setRequestToSend(true);
    m_port.clearError();
    return true;
}

void QtSerialService::closePort()
{
    // The last frames (a stop pose) reach the board before the port closes: first out of Qt's
    // buffer, then out of the driver's and the adapter's, which closing would throw away. A dead
    // device takes nothing more, and a line that takes nothing for a second is given up on.
    while (!m_lossReported && m_port.bytesToWrite() > 0 && m_port.waitForBytesWritten(1000)) {
    }
#ifdef Q_OS_UNIX
    if (!m_lossReported)
        drainDriver(m_port.handle(), line().freeAtNs() - line().nowNs());
#endif
    m_port.close();
    m_lossReported = false;
}

OpenFailure QtSerialService::failureOf(const PortDevice &chosen) const
{
    const QString &device = chosen.device;
    OpenFailure failure;
    failure.device = device;
    failure.source = chosen.source;
    failure.detail = m_port.errorString();
    switch (m_port.error()) {
    case QSerialPort::DeviceNotFoundError:
        failure.reason = OpenFailure::Reason::NotFound;
        break;
    case QSerialPort::PermissionError: {
        // Qt reports a port held by another program and a port this user may not open alike.
        failure.reason = OpenFailure::Reason::Busy;
#ifdef Q_OS_UNIX
        if (::access(device.toLocal8Bit().constData(), R_OK | W_OK) != 0)
            failure.reason = OpenFailure::Reason::NoPermission;
#endif
        break;
    }
    default:
        failure.reason = OpenFailure::Reason::Other;
        break;
    }
    return failure;
}

bool QtSerialService::writeBytes(const QByteArray &bytes)
{
    if (!m_port.isOpen() || m_port.write(bytes) < 0)
        return false;
    // Hand the frame to the driver now rather than on the next turn of the event loop.
    m_port.flush();
    return true;
}

QString QtSerialService::input()
{
    return textFromLineBytes(m_port.readAll());
}

void QtSerialService::raise(CommEvent event)
{
    m_commEvent = event;
    Q_EMIT commEventRaised();
}

void QtSerialService::reportReceived()
{
    if (m_rThreshold > 0 && m_port.bytesAvailable() >= m_rThreshold)
        raise(CommEvent::Receive);
}

void QtSerialService::reportError(QSerialPort::SerialPortError error)
{
    if (!isDeviceLoss(error) || !m_port.isOpen() || m_lossReported)
        return;
    m_lossReported = true;
    // Reported from the event loop, never from inside the write that noticed it, so a command
    // that is setting twenty sliders finishes before the window reacts.
    QMetaObject::invokeMethod(
        this,
        [this] {
            if (m_lossReported && m_port.isOpen())
                raise(CommEvent::DeviceLost);
        },
        Qt::QueuedConnection);
}

} // namespace pwm20
