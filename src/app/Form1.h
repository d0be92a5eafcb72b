#pragma once

#include "channels/ChannelTable.h"
#include "serial/ServoFrame.h"
#include "setup/SetupInUse.h"

#include <QByteArray>
#include <QPointer>
#include <QWidget>

#include <array>
#include <memory>
#include <vector>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTextEdit;

namespace pwm20 {

class BatchArea;
class ChannelSetupDialog;
class ChannelRow;
class ChannelSlider;
class FrameSend;
class GroupCommands;
class MessagePresenter;
class MotionEditor;
class PortChooser;
class PortSwitch;
class RecentFolder;
class ReceiveMonitor;
class SerialService;

// The program's one window: twenty channel rows, the port controls, the two status boxes and the
// group buttons. It owns its controls, the serial service, the frame buffer and the receive buffer;
// each handler hands its work to the part of the program named after what it does.
class Form1 final : public QWidget
{
    Q_OBJECT

public:
    // `recentFolder` keeps the batch files' folder across runs; none is kept without it.
    Form1(std::unique_ptr<SerialService> comm, std::unique_ptr<MessagePresenter> messages,
          std::unique_ptr<RecentFolder> recentFolder = {}, QWidget *parent = nullptr);
    ~Form1() override;

    // Runs with the channel setup in this file; a file that cannot be used is reported once the
    // window is on screen, and the defaults are used.
    void useSetup(const QString &path);
    // Opens the batch file in the batch box and shows the motion editor beside the window; a
    // file that cannot be used is told, and leaves the box as it was.
    void editFile(const QString &path);
    // Shows the motion editor on the batch box, beside the window.
    void showMotionEditor();

    // SIGTERM, SIGINT or SIGHUP (a logout, `kill`): stops as closing does, a batch's stop pose
    // going out first, but asks nothing; then closes the port and reports stoppedBySignal(). A
    // second one cuts the stop pose short.
    void stopBySignal(int exitStatus);

Q_SIGNALS:
    // `exitStatus` is the one stopBySignal() was last given.
    void stoppedBySignal(int exitStatus);

public:
    // Handlers, named after the control and the event.
    void Form_Load();
    void Form_Unload();
    void Option1_Click();
    void Option2_Click();
    void Command1_Click();
    void Command2_Click();
    void Command3_Click();
    void Command4_Click();
    void MSComm1_OnComm();
    void VScroll_Change(int channel);
    // Enter in value box `channel`; the boxes react to no other key.
    void v_KeyPress(int channel);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void createControls();
    void chainTabOrder();
    void connectHandlers();
    void showChannelSetup();
    void openChannelSetup(int channel);
    void endBySignal();
    template <typename Control> Control &control(const QString &name);

    std::unique_ptr<SerialService> MSComm1;
    std::unique_ptr<MessagePresenter> m_messages;
    std::unique_ptr<RecentFolder> m_recentFolder;
    FrameBuffer m_frameBuffer{};
    QByteArray m_receiveBuffer;
    SetupInUse m_setup;
    bool m_closeWhenStopped = false;
    bool m_closingSetup = false;    // the setup dialog is asked about its edits on the way out
    bool m_stopPoseOnClose = false; // a setup saved then started the stop pose
    int m_signalStatus = 0;         // while stopping by a signal
    bool m_endedBySignal = false;

    std::array<ChannelSlider *, ChannelTable::channelCount> VScroll{};
    std::array<QLineEdit *, ChannelTable::channelCount> v{};
    std::array<QLabel *, ChannelTable::channelCount> Label{};
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLineEdit *Text2 = nullptr;
    QTextEdit *RichTextBox1 = nullptr;

    std::unique_ptr<FrameSend> m_frameSend;
    std::vector<ChannelRow> m_rows;
    std::unique_ptr<GroupCommands> m_groupCommands;
    std::unique_ptr<PortSwitch> m_portSwitch;
    std::unique_ptr<ReceiveMonitor> m_receiveMonitor;
    std::unique_ptr<BatchArea> m_batchArea;
    std::unique_ptr<PortChooser> m_portChooser;
    QPointer<ChannelSetupDialog> m_setupDialog; // one at a time
    QPointer<MotionEditor> m_motionEditor;      // kept once made, where the user left it
};

} // namespace pwm20
