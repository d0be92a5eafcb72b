#pragma once

#include "batch/BatchFile.h"
#include "batch/BatchPlayer.h"
#include "sequence/SequencePlot.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QKeySequence;
class QPoint;
class QPushButton;
class QTextCursor;
class QTextDocument;
class QTextEdit;
class QWidget;

namespace pwm20 {

class MessagePresenter;
class PlanWindow;
class RecentFolder;
class SerialService;

// The batch box and its button: a batch is checked as a whole, then played line by line with
// the line being played highlighted; the box's menu inserts the current pose, opens and saves,
// and shows what the batch would send.
// Save writes back to the file last opened or saved, as that file wrote its lines; the dialogs
// start in the folder last used.
class BatchArea final : public QObject
{
    Q_OBJECT

public:
    // `recentFolder` keeps the folder across runs; without it, only for this one.
    BatchArea(QTextEdit &editor, QPushButton &button, SerialService &comm,
              MessagePresenter &messages, BatchOutput &output, const ChannelTable &channels,
              RecentFolder *recentFolder = nullptr);

    // The button: plays the batch, or stops the one playing.
    void startOrStop();
    // Checks the batch and plays it; an error is shown in the box.
    void start();
    // Plays steps of the box's text, checked already: false, and says why, when the port is
    // closed. The box is read-only while they play. Moves stretched to keep limits are told in a
    // message box, or to `tellStretched` (a view that shows them already, and says so in a line).
    bool play(std::vector<BatchStep> steps,
              const std::function<void(const QString &)> &tellStretched = {});
    bool isPlaying() const { return m_player.isRunning(); }
    // Ends a batch that is playing at once: the port or the device is gone; playingEnded()
    // follows. False when none was playing.
    bool stop();
    // The user ends a batch that is playing: true while the setup's stop pose still goes out,
    // after which playingEnded() follows (at once, when there is no pose or it is cut short).
    bool interrupt();

    // A row's change by hand: true when the channel ramps there, batch or not.
    bool moveByHand(int channel, int value) { return m_player.moveByHand(channel, value); }
    // The port closed or the setup changed: the ramps under way end with the batch, where they
    // are.
    void endMotion() { m_player.stop(); }

    // Checks the batch as starting it does, then shows what it would send from the channels'
    // values now, in the plan window: it stays open beside the main window.
    void showPlan();

    // One line "1=v1 2=v2 ... 20=v20" with every channel's value now, at the cursor.
    void insertCurrentPose();
    // "move shoulder=v1 2=v2 ... in 500" with every channel that is not off, by its name where it
    // has one, at the cursor, to be edited; with all off, says why there is none.
    void insertMove();
    // Both leave the box and the current file as they were, and say why, when the file cannot
    // be used; otherwise the file becomes the current one.
    bool open(const QString &path);
    bool saveAs(const QString &path);
    // Writes back to the current file, or asks for a name when there is none: true once written.
    bool save();
    // Asks whether edits not saved are to be saved (and saves them), dropped, or kept in the box
    // by going no further: true unless they are still wanted. An empty box asks nothing.
    // `question` asks in other words, over `over`, for another view of the box: its Close leaves
    // the edits in the box.
    bool settleEdits(const QString &question = {}, QWidget *over = nullptr);
    // Asks for a name and saves there: true once written.
    bool chooseFileToSave();

    // The box's text, which every view of it edits.
    QTextDocument &document() const;
    // The file Save writes to, empty when there is none.
    const QString &currentFile() const { return m_currentFile; }
    QString dialogFolder() const;

    // A frame written to the port: while a batch plays, it is kept with the moment it will have
    // left the line.
    void frameWritten(int channel, int value);
    // The steps last played, from where the channels stood, and the frames sent since, until
    // played again: what a plan of the play compares with.
    const std::vector<BatchStep> &playedSteps() const { return m_playedSteps; }
    const ChannelValues &playedFrom() const { return m_playedFrom; }
    const std::vector<SentFrame> &sentFrames() const { return m_sent; }

Q_SIGNALS:
    // A batch, or its stop pose, is over, however it ended.
    void playingEnded();
    void playingStarted();
    // The step on this line of the box has started.
    void lineStarted(int line);
    void currentFileChanged(const QString &path);
    // A frame went to the port: the board stands elsewhere now.
    void boardChanged();
    // "动作编辑…" in the box's menu.
    void editorRequested();
    // "通道设置…" in the box's menu.
    void channelSetupRequested();

private:
    void insertLine(const QString &line);
    // The batch's steps, checked as a start checks them; an error is shown, and gives none.
    std::optional<std::vector<BatchStep>> checkedSteps();
    void showRunning(bool running);
    void highlightLine(int line);
    // At the start of a line of the batch last checked, or all of it.
    QTextCursor lineCursor(int line, bool whole) const;
    void showMenu(const QPoint &at);
    template <typename Result>
    QAction *addAction(const QString &text, const QKeySequence &keys, Result (BatchArea::*act)());
    void chooseFileToOpen();
    void useFile(QString path);
    // The box's text as UTF-8, its lines kept where they are.
    QByteArray readLines();

    QTextEdit &m_editor;
    QPushButton &m_button;
    SerialService &m_comm;
    MessagePresenter &m_messages;
    BatchOutput &m_output;
    const ChannelTable &m_channels;
    BatchPlayer m_player;
    QAction *m_insertPose = nullptr;
    QAction *m_insertMove = nullptr;
    QAction *m_open = nullptr;
    QAction *m_save = nullptr;
    QAction *m_saveAs = nullptr;
    QAction *m_showPlan = nullptr;
    QAction *m_edit = nullptr;
    QPointer<PlanWindow> m_planWindow;
    RecentFolder *m_recentFolder = nullptr;
    QString m_currentFile;
    FileStyle m_fileStyle;
    // Where each line of the batch last checked starts and ends in the box.
    std::vector<std::pair<int, int>> m_lines;
    // The undo steps once the current file was opened: fewer, and its Open was undone.
    int m_undoStepsAtOpen = 0;
    QString m_folder;
    std::vector<BatchStep> m_playedSteps;
    ChannelValues m_playedFrom{};
    qint64 m_playStartNs = 0;
    bool m_recording = false; // the stop pose is no part of the play
    std::vector<SentFrame> m_sent;
};

} // namespace pwm20
