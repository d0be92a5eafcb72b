#pragma once

#include "batch/BatchPlan.h"
#include "batch/BatchPlayer.h"
#include "serial/QtSerialService.h"

#include <QEventLoop>
#include <QStringList>

#include <array>
#include <functional>

namespace pwm20 {

// `pwm20 run`: plays a checked batch on a port with no window, keeping the twenty channel values
// as the window's sliders would (all 0 at start), so `off` and `centre` send what the buttons
// would. Ends on the batch's end, a lost device, or SIGINT/SIGTERM.
class BatchRunner final : public QObject, public BatchOutput
{
    Q_OBJECT

public:
    // `device` names the port by its path; empty, port `commPort` is mapped as the window maps it,
    // `portDevices` standing for --com1 and --com2.
    BatchRunner(const std::array<QString, 2> &portDevices, int commPort, const QString &device,
                const ChannelTable &channels);

    // The exit status: 0 when done, 1 when the port failed, 128 + the signal when stopped.
    int run(std::vector<BatchStep> steps, const QStringList &lines);
    // Called for each timed move that takes longer than written, as it starts.
    void onStretchedMove(std::function<void(const StretchedMove &)> report);

    ChannelValues channelValues() const override { return m_values; }
    void send(const PlannedFrame &frame) override;

private:
    void finish(int status);
    void interrupt(int status);
    void reportEvent();
    void showLine(int line);

    PortChoices m_choices;
    QtSerialService m_comm;
    int m_commPort = 1;
    bool m_byPath = false;
    BatchPlayer m_player;
    // The exit status once the player finishes: 0, or the stop signal's while the stop pose goes.
    int m_finishedStatus = 0;
    ChannelValues m_values{};
    QStringList m_lines;
    bool m_showLines = false;
    QEventLoop m_loop;
};

// Parses what follows `pwm20 run` and runs it, --com1 and --com2 given before `run` in
// `portDevices`: the process's exit status.
int runBatchCommand(const QStringList &arguments, const std::array<QString, 2> &portDevices,
                    const QString &setupFile);

} // namespace pwm20
