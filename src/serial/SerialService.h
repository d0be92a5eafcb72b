#pragma once

#include "LineClock.h"
#include "PortNaming.h"
#include "SteadyClock.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <QStringList>

namespace pwm20 {

// Event codes of the serial service's communication event, numbered as classic serial controls
// number them. DeviceLost is this program's own: the open device stopped working.
enum class CommEvent : int {
    None = 0,
    Send = 1,
    Receive = 2,
    Cts = 3,
    Dsr = 4,
    Cd = 5,
    Ring = 6,
    Eof = 7,
    Break = 1001,
    Frame = 1004,
    Overrun = 1006,
    RxOver = 1008,
    RxParity = 1009,
    TxFull = 1010,
    DeviceLost = 1100,
};

// Why the last open failed, and which device it tried.
struct OpenFailure
{
    enum class Reason { None, NoSuchPort, NotFound, Busy, NoPermission, Other };

    Reason reason = Reason::None;
    QString device;
    QString detail;
    PortDevice::Source source = PortDevice::Source::None;
};

// The serial line as the window uses it. The open state lives here only: callers ask portOpen()
// afresh before every decision instead of keeping a flag of their own.
class SerialService : public QObject
{
    Q_OBJECT

public:
    // The line's time is kept on `clock`: the steady clock, or one that tests turn by hand.
    explicit SerialService(QObject *parent = nullptr, const Clock &clock = SteadyClock::instance())
        : QObject(parent), m_line(clock)
    {}

    // The port the next open uses, 1-based. Never checks that the port exists.
    virtual void setCommPort(int port) = 0;
    virtual int commPort() const = 0;
    // The device port `port` stands for now, and where that comes from.
    virtual PortDevice portDevice(int port) const = 0;
    // The serial ports the system lists now, by their paths, in the order port numbers count them.
    virtual QStringList systemPorts() const = 0;
    // The user's choice of device for port `port`, kept for later runs; empty for automatic.
    virtual void chooseDevice(int port, const QString &device) = 0;

    // Line settings such as "9600,n,8,1"; false (and nothing changed) when the text is malformed.
    virtual bool setSettings(const QString &settings) = 0;
    virtual QString settings() const = 0;

    // A receive event is raised once at least this many bytes wait; 0 raises none.
    virtual void setRThreshold(int threshold) = 0;
    virtual int rThreshold() const = 0;

    virtual bool portOpen() const = 0;
    // Opening returns false when the device cannot be opened; openFailure() then says why.
    virtual bool setPortOpen(bool open) = 0;
    virtual OpenFailure openFailure() const = 0;
    // The device the open port is on, empty when closed.
    virtual QString openDevice() const = 0;

    // Every write goes through here, so the line's time is kept for every byte that goes out.
    void output(const QByteArray &bytes)
    {
        if (writeBytes(bytes))
            m_line.bytesHanded(bytes.size());
    }
    // When the line is free: the pacing every writer shares.
    const LineClock &line() const { return m_line; }

    // Everything received since the last read, one character per byte; the read empties it.
    virtual QString input() = 0;
    // The code of the event being reported by commEventRaised().
    virtual CommEvent commEvent() const = 0;

Q_SIGNALS:
    void commEventRaised();

protected:
    // Hands the bytes to the driver; false when nothing went (the port is closed).
    virtual bool writeBytes(const QByteArray &bytes) = 0;

private:
    LineClock m_line;
};

} // namespace pwm20
