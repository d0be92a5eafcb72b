#include "Form1.h"

#include "BatchArea.h"
#include "BatchEditor.h"
#include "ChannelRow.h"
#include "ChannelSetupDialog.h"
#include "ChannelSlider.h"
#include "FrameSend.h"
#include "GroupCommands.h"
#include "MotionEditor.h"
#include "PortChooser.h"
#include "PortSwitch.h"
#include "ReceiveMonitor.h"
#include "RecentFolder.h"
#include "SongFont.h"
#include "WarningWhenShown.h"
#include "WindowLayout.h"
#include "channels/ChannelTexts.h"
#include "serial/MessagePresenter.h"
#include "serial/SerialService.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QShortcut>
#include <QTextEdit>

#include <limits>
#include <utility>

namespace pwm20 {
namespace {

QWidget *createControl(const ControlPlace &place, QWidget *parent)
{
    switch (place.kind) {
    case ControlKind::Label:
        return new QLabel(place.caption, parent);
    case ControlKind::Slider:
        return new ChannelSlider(parent);
    case ControlKind::ValueBox: {
        auto *valueBox = new QLineEdit(place.caption, parent);
        // A box takes text of any length, as typed or pasted; Enter decides what it means.
        valueBox->setMaxLength(std::numeric_limits<int>::max());
        return valueBox;
    }
    case ControlKind::TextBox:
        return new QLineEdit(place.caption, parent);
    case ControlKind::OptionButton: {
        auto *option = new QRadioButton(place.caption, parent);
        option->setChecked(place.selected);
        return option;
    }
    case ControlKind::Button:
        return new QPushButton(place.caption, parent);
    case ControlKind::RichTextBox: {
        auto *richText = new BatchEditor(parent);
        richText->setAcceptRichText(true);
        return richText;
    }
    }
    return nullptr;
}

} // namespace

Form1::Form1(std::unique_ptr<SerialService> comm, std::unique_ptr<MessagePresenter> messages,
             std::unique_ptr<RecentFolder> recentFolder, QWidget *parent)
    : QWidget(parent), MSComm1(std::move(comm)), m_messages(std::move(messages)),
      m_recentFolder(std::move(recentFolder))
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(WindowLayout::title());
    setFont(songFont(9));
    setFixedSize(WindowLayout::toPixels(WindowLayout::clientTwips()));
    setWindowIcon(QIcon(QStringLiteral(":/pwm20/pwm20.png")));
    createControls();
    chainTabOrder();

    m_frameSend = std::make_unique<FrameSend>(*MSComm1, m_frameBuffer, *Text1, *Text2, *m_messages);
    m_rows.reserve(ChannelTable::channelCount);
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        const auto index = static_cast<std::size_t>(channel - 1);
        m_rows.emplace_back(channel, *VScroll[index], *v[index], *m_frameSend, m_setup.table(),
                            *m_messages);
    }
    m_groupCommands =
        std::make_unique<GroupCommands>(m_rows, m_frameBuffer, *m_frameSend, m_setup.table());
    m_portSwitch = std::make_unique<PortSwitch>(
        *MSComm1, PortControls{*Command1, *Option1, *Option2, *Command3, *Command4}, *m_messages,
        [this] { m_groupCommands->allOff(); });
    m_receiveMonitor = std::make_unique<ReceiveMonitor>(*MSComm1, m_receiveBuffer, *Text2);
    m_batchArea =
        std::make_unique<BatchArea>(*RichTextBox1, *Command2, *MSComm1, *m_messages,
                                    *m_groupCommands, m_setup.table(), m_recentFolder.get());
    m_frameSend->setRamper(
        [this](int channel, int value) { return m_batchArea->moveByHand(channel, value); });
    m_frameSend->setWritten(
        [this](int channel, int value) { m_batchArea->frameWritten(channel, value); });
    connect(m_batchArea.get(), &BatchArea::editorRequested, this, &Form1::showMotionEditor);
    // A window closed while the stop pose went out closes once it is over, or cut short by
    // the port or the device going: after the handler that ended it has run.
    connect(
        m_batchArea.get(), &BatchArea::playingEnded, this,
        [this] {
            if (m_closeWhenStopped)
                close();
        },
        Qt::QueuedConnection);
    m_portChooser =
        std::make_unique<PortChooser>(std::array{Option1, Option2}, *MSComm1, *m_messages);

    connectHandlers();
    connect(&m_setup, &SetupInUse::changed, this, &Form1::showChannelSetup);
    // A batch was checked against the limits it started with: a new setup ends it, sending nothing
    // more, and says so.
    connect(&m_setup, &SetupInUse::changed, this, [this] {
        // Saved on the way out: the window is going, and the new setup's stop pose goes first.
        if (m_closingSetup) {
            m_stopPoseOnClose = m_batchArea->interrupt();
            return;
        }
        const bool stopped = m_batchArea->stop();
        // Ramps under way keep to the limits they began with no further.
        m_batchArea->endMotion();
        if (stopped)
            m_messages->showMessage(QCoreApplication::translate(
                "Form1", "新的通道设置已生效，正在进行的批量发送因此停止：它是按原来的设置检查的。"
                         "停止时没有再发送任何帧；请重新开始批量发送。"));
    });
    connect(m_batchArea.get(), &BatchArea::channelSetupRequested, this,
            [this] { openChannelSetup(1); });
    // The editor's columns and checks follow the setup.
    connect(&m_setup, &SetupInUse::changed, this, [this] {
        if (m_motionEditor)
            m_motionEditor->reread();
    });
    showChannelSetup();
    Form_Load();
}

void Form1::useSetup(const QString &path)
{
    QString error;
    bool forgotten = false;
    if (m_setup.load(path, error, &forgotten))
        return;
    const QString text =
        forgotten
            ? QCoreApplication::translate(
                  "Form1", "上次使用的通道设置已不能使用，pwm20 不再记住它，现用默认设置。\n%1\n"
                           "要换用别的设置文件，请用 pwm20 --setup 文件 启动；或右键单击通道标题"
                           "打开“通道设置”，改好后保存或另存为。")
            : QCoreApplication::translate("Form1", "无法使用通道设置，将使用默认设置。\n%1");
    // Said over the window, once it is there to say it over.
    if (isVisible() && testAttribute(Qt::WA_Mapped))
        m_messages->showWarning(text.arg(error));
    else
        new WarningWhenShown(*this, *m_messages, text.arg(error));
}

void Form1::editFile(const QString &path)
{
    if (m_batchArea->open(path))
        showMotionEditor();
}

void Form1::showMotionEditor()
{
    if (!m_motionEditor)
        m_motionEditor = new MotionEditor(
            *m_batchArea, m_setup.table(), [this] { return m_groupCommands->channelValues(); },
            *m_messages, this);
    m_motionEditor->show();
    m_motionEditor->raise();
    m_motionEditor->activateWindow();
}

void Form1::showChannelSetup()
{
    // The captions keep their text; hovering one tells what the channel is.
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel)
        Label[static_cast<std::size_t>(channel - 1)]->setToolTip(
            channelToolTip(m_setup.table(), channel));
}

void Form1::openChannelSetup(int channel)
{
    // Not modal: the window's stop button and the board's replies stay within reach. One dialog
    // at a time, so that two cannot save over each other.
    if (!m_setupDialog) {
        m_setupDialog = new ChannelSetupDialog(m_setup, *m_messages, this);
        m_setupDialog->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_setupDialog->show();
    m_setupDialog->raise();
    m_setupDialog->activateWindow();
    m_setupDialog->showChannel(channel);
}

void Form1::stopBySignal(int exitStatus)
{
    const bool again = m_signalStatus != 0;
    m_signalStatus = exitStatus;
    // Never through closeEvent(): a question would wait for someone who may be gone.
    if (!again)
        connect(m_batchArea.get(), &BatchArea::playingEnded, this, &Form1::endBySignal,
                Qt::QueuedConnection);
    if (again || !m_batchArea->interrupt())
        endBySignal();
}

void Form1::endBySignal()
{
    if (std::exchange(m_endedBySignal, true))
        return;
    Form_Unload();
    Q_EMIT stoppedBySignal(m_signalStatus);
}

Form1::~Form1()
{
    // The editor reads the batch box, which goes before the windows it holds.
    delete m_motionEditor;
}

template <typename Control> Control &Form1::control(const QString &name)
{
    auto *found = findChild<Control *>(name, Qt::FindDirectChildrenOnly);
    Q_ASSERT(found);
    return *found;
}

void Form1::createControls()
{
    for (const ControlPlace &place : WindowLayout::controls()) {
        QWidget *widget = createControl(place, this);
        widget->setObjectName(place.name);
        widget->setGeometry(WindowLayout::toPixels(place.twips));
        widget->setEnabled(place.enabled);
        widget->setAccessibleName(place.accessibleName);
        if (place.font == FontRole::Large)
            widget->setFont(songFont(12));
        if (place.channel > 0) {
            const auto index = static_cast<std::size_t>(place.channel - 1);
            if (place.kind == ControlKind::Slider)
                VScroll[index] = static_cast<ChannelSlider *>(widget);
            else if (place.kind == ControlKind::ValueBox)
                v[index] = static_cast<QLineEdit *>(widget);
            else
                Label[index] = static_cast<QLabel *>(widget);
        }
    }
    Option1 = &control<QRadioButton>(QStringLiteral("Option1"));
    Option2 = &control<QRadioButton>(QStringLiteral("Option2"));
    Command1 = &control<QPushButton>(QStringLiteral("Command1"));
    Command2 = &control<QPushButton>(QStringLiteral("Command2"));
    Command3 = &control<QPushButton>(QStringLiteral("Command3"));
    Command4 = &control<QPushButton>(QStringLiteral("Command4"));
    Text1 = &control<QLineEdit>(QStringLiteral("Text1"));
    Text2 = &control<QLineEdit>(QStringLiteral("Text2"));
    RichTextBox1 = &control<QTextEdit>(QStringLiteral("RichTextBox1"));
}

void Form1::chainTabOrder()
{
    QWidget *previous = nullptr;
    for (const ControlPlace &place : WindowLayout::tabChain()) {
        QWidget *next = &control<QWidget>(place.name);
        if (previous)
            setTabOrder(previous, next);
        previous = next;
    }
    VScroll[0]->setFocus();
}

void Form1::connectHandlers()
{
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        const auto index = static_cast<std::size_t>(channel - 1);
        connect(VScroll[index], &QScrollBar::valueChanged, this,
                [this, channel] { VScroll_Change(channel); });
        connect(v[index], &QLineEdit::returnPressed, this,
                [this, channel] { v_KeyPress(channel); });
        Label[index]->setContextMenuPolicy(Qt::CustomContextMenu);
        connect(Label[index], &QLabel::customContextMenuRequested, this,
                [this, channel] { openChannelSetup(channel); });
    }
    connect(Option1, &QRadioButton::clicked, this, &Form1::Option1_Click);
    connect(Option2, &QRadioButton::clicked, this, &Form1::Option2_Click);
    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &Form1::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &Form1::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &Form1::Command4_Click);
    connect(MSComm1.get(), &SerialService::commEventRaised, this, &Form1::MSComm1_OnComm);
    // Esc stops a batch as its button does, wherever the focus is in the window.
    connect(new QShortcut(QKeySequence(Qt::Key_Escape), this), &QShortcut::activated,
            m_batchArea.get(), &BatchArea::interrupt);
}

void Form1::Form_Load()
{
    MSComm1->setCommPort(1);
    MSComm1->setSettings(QStringLiteral("9600,n,8,1"));
    MSComm1->setRThreshold(1);
    if (MSComm1->portOpen())
        MSComm1->setPortOpen(false);
}

void Form1::Form_Unload()
{
    // Closing never asks, and sends nothing beyond a batch's stop pose (sent before this):
    // the board keeps its last values.
    m_batchArea->stop();
    m_batchArea->endMotion();
    if (MSComm1->portOpen())
        MSComm1->setPortOpen(false);
}

void Form1::closeEvent(QCloseEvent *event)
{
    // Unsaved edits, the batch box's and then the setup dialog's, are asked about before a batch
    // is stopped, so that Cancel leaves it playing; a close waiting for the stop pose has asked.
    if (!m_closeWhenStopped) {
        // The setup dialog's question is up (it blocks the dialog alone): it is answered first.
        if ((m_setupDialog && m_setupDialog->isAsking()) || !m_batchArea->settleEdits()) {
            event->ignore();
            return;
        }
        const QScopedValueRollback closing(m_closingSetup, true);
        if (m_setupDialog && !m_setupDialog->close()) {
            event->ignore();
            return;
        }
    }
    // A batch still playing sends the setup's stop pose first; the window closes after it.
    m_closeWhenStopped = std::exchange(m_stopPoseOnClose, false) || m_batchArea->interrupt();
    if (m_closeWhenStopped) {
        event->ignore();
        return;
    }
    Form_Unload();
    // The edits were asked about, once, above.
    if (m_motionEditor)
        m_motionEditor->closeWithMain();
    event->accept();
}

void Form1::Option1_Click()
{
    m_portSwitch->choosePort(1);
}

void Form1::Option2_Click()
{
    m_portSwitch->choosePort(2);
}

void Form1::Command1_Click()
{
    // Only an open port can be playing a batch, and closing it ends the batch.
    m_batchArea->stop();
    m_portSwitch->toggle();
    if (!MSComm1->portOpen())
        m_batchArea->endMotion();
}

void Form1::Command2_Click()
{
    m_batchArea->startOrStop();
}

void Form1::Command3_Click()
{
    // A batch playing ends first, with no stop pose: nothing it would send comes after these.
    m_batchArea->stop();
    m_groupCommands->allOff();
}

void Form1::Command4_Click()
{
    m_batchArea->stop();
    m_groupCommands->centreAll();
}

void Form1::MSComm1_OnComm()
{
    switch (MSComm1->commEvent()) {
    case CommEvent::Receive:
        m_receiveMonitor->showReceived();
        break;
    case CommEvent::DeviceLost:
        m_batchArea->stop();
        m_batchArea->endMotion();
        m_portSwitch->deviceLost();
        break;
    default:
        // Line and modem events change nothing on screen.
        break;
    }
}

void Form1::VScroll_Change(int channel)
{
    m_rows[static_cast<std::size_t>(channel - 1)].change();
}

void Form1::v_KeyPress(int channel)
{
    m_rows[static_cast<std::size_t>(channel - 1)].enter();
}

} // namespace pwm20
