#pragma once

#include "batch/BatchPlan.h"
#include "sequence/SequencePlot.h"

#include <QMainWindow>
#include <QTimer>

#include <functional>
#include <optional>
#include <vector>

class QAction;
class QLabel;
class QTableView;
class QTextDocument;

namespace pwm20 {

class BatchArea;
class MessagePresenter;
class MotionPlot;
class SequenceModel;

// The motion editor: the batch box's text as a table of steps, a row a line, beside a plot of
// what it plays. It keeps no text of its own: every edit changes one line of the box's document,
// as one undo step, and the table is read again from the box after each change. It plays through
// the batch box, so one batch plays at a time whichever view started it.
class MotionEditor final : public QMainWindow
{
    Q_OBJECT

public:
    // `values` tells what the board was last sent for each channel.
    MotionEditor(BatchArea &batch, const ChannelTable &table, std::function<ChannelValues()> values,
                 MessagePresenter &messages, QWidget *parent);

    // Reads the box again: its text, or the channel setup, changed. Then selects row `select`,
    // or keeps the row selected.
    void reread(int select = -1);
    // Reads the box now if a read waits for a pause in typing.
    void readNow();
    // The main window is closing and has asked about the edits: none is asked here.
    void closeWithMain();

    // The rows' actions, on the selected row.
    void insertRow();
    void deleteRow();
    void clearCell();
    void duplicateRow();
    void moveRow(int by);
    void capturePose();
    void updatePose();
    void playAll();
    void playFromHere();

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QAction *addAction(const QString &name, const QString &text, const QKeySequence &keys,
                       const std::function<void()> &act);
    void createActions();
    int selectedRow() const;
    void selectRow(int row);
    // Replaces the box's text from `from` to `to` (positions) in one undo step, then selects row
    // `select`.
    void editBox(int from, int to, const QString &text, int select);
    void setLine(int row, const QString &text);
    void undoOrRedo(void (QTextDocument::*step)());
    void insertLine(int after, const QString &text);
    std::vector<std::pair<int, int>> lines() const;
    QString lineText(int row) const;
    // Where the plan plays the row's step: none for a line it never reaches, or no row.
    std::optional<StepSpan> spanOfRow(int row) const;
    void check();
    void replot();
    void exportPlan();
    void play(std::vector<BatchStep> steps);
    void showPlaying(bool playing);
    void showPlayed();
    void showTitle();
    void showMessage(const QString &text);

    BatchArea &m_batch;
    const ChannelTable &m_table;
    std::function<ChannelValues()> m_values;
    MessagePresenter &m_messages;
    SequenceModel *m_model = nullptr;
    QTableView *m_steps = nullptr;
    MotionPlot *m_plot = nullptr;
    QLabel *m_note = nullptr;
    QLabel *m_message = nullptr;
    QTimer m_planTimer;
    QTimer m_readTimer;
    bool m_editing = false;                          // an edit of the editor's own is under way
    std::optional<std::vector<BatchStep>> m_checked; // the text's steps, none with an error
    BatchPlan m_plan;
    SequencePlot m_plotted;
    QString m_checkMessage;
    bool m_closingWithMain = false;
    std::vector<QAction *> m_editActions;
    std::vector<QAction *> m_playActions;
    QAction *m_loop = nullptr;
    QAction *m_stop = nullptr;
    QAction *m_undo = nullptr;
    QAction *m_redo = nullptr;
};

} // namespace pwm20
