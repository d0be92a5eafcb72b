#include "BatchArea.h"

#include "RecentFolder.h"
#include "batch/BatchFile.h"
#include "batch/BatchMessages.h"
#include "serial/MessagePresenter.h"
#include "serial/PortMessages.h"
#include "serial/SerialService.h"

#include <QAction>
#include <QCoreApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QMenu>
#include <QPushButton>
#include <QTextBlock>
#include <QTextEdit>

namespace pwm20 {
namespace {

const QString batchFileFilter()
{
    return QCoreApplication::translate("BatchArea", "文本文件 (*.txt);;所有文件 (*)");
}

} // namespace

BatchArea::BatchArea(QTextEdit &editor, QPushButton &button, SerialService &comm,
                     MessagePresenter &messages, BatchOutput &output, const ChannelTable &channels,
                     RecentFolder *recentFolder)
    : m_editor(editor), m_button(button), m_comm(comm), m_messages(messages), m_output(output),
      m_channels(channels), m_player(output, comm.line(), channels), m_recentFolder(recentFolder)
{
    m_insertPose = addAction(QCoreApplication::translate("BatchArea", "插入当前姿态"),
                             QKeySequence(Qt::CTRL | Qt::Key_I), &BatchArea::insertCurrentPose);
    m_insertMove = addAction(QCoreApplication::translate("BatchArea", "插入移动"),
                             QKeySequence(Qt::CTRL | Qt::Key_M), &BatchArea::insertMove);
    // Spelt out: not every desktop's key scheme has a Save As.
    m_open = addAction(QCoreApplication::translate("BatchArea", "打开…"),
                       QKeySequence(Qt::CTRL | Qt::Key_O), &BatchArea::chooseFileToOpen);
    m_save = addAction(QCoreApplication::translate("BatchArea", "保存"),
                       QKeySequence(Qt::CTRL | Qt::Key_S), &BatchArea::save);
    m_saveAs =
        addAction(QCoreApplication::translate("BatchArea", "另存为…"),
                  QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S), &BatchArea::chooseFileToSave);
    m_editor.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&m_editor, &QTextEdit::customContextMenuRequested, this, &BatchArea::showMenu);
    connect(&m_player, &BatchPlayer::lineStarted, this, &BatchArea::highlightLine);
    connect(&m_player, &BatchPlayer::finished, this, [this] {
        showRunning(false);
        Q_EMIT playingEnded();
    });
}

QAction *BatchArea::addAction(const QString &text, const QKeySequence &keys,
                              void (BatchArea::*act)())
{
    auto *action = new QAction(text, &m_editor);
    action->setShortcut(keys);
    action->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    connect(action, &QAction::triggered, this, act);
    m_editor.addAction(action);
    return action;
}

void BatchArea::startOrStop()
{
    if (m_player.isRunning())
        interrupt();
    else
        start();
}

void BatchArea::start()
{
    const BatchScript script = parseBatch(m_editor.toPlainText().toStdString(), m_channels);
    if (script.error) {
        moveCursorToLine(script.error->line);
        m_messages.showWarning(batchErrorMessage(*script.error, m_channels));
        return;
    }
    if (script.steps.empty())
        return;
    if (!m_comm.portOpen()) {
        m_messages.showMessage(notOpenMessage());
        return;
    }
    showRunning(true);
    m_player.start(script.steps);
}

bool BatchArea::interrupt()
{
    const bool playing = m_player.isRunning();
    if (m_player.interrupt())
        return true;
    showRunning(false);
    if (playing)
        Q_EMIT playingEnded();
    return false;
}

bool BatchArea::stop()
{
    if (!m_player.isRunning())
        return false;
    m_player.stop();
    showRunning(false);
    Q_EMIT playingEnded();
    return true;
}

void BatchArea::showRunning(bool running)
{
    m_button.setText(running ? QCoreApplication::translate("BatchArea", "停止发送")
                             : QCoreApplication::translate("WindowLayout", "批量发送", "button"));
    m_editor.setReadOnly(running);
    m_insertPose->setEnabled(!running);
    m_insertMove->setEnabled(!running);
    m_open->setEnabled(!running);
    if (!running)
        m_editor.setExtraSelections({});
}

void BatchArea::highlightLine(int line)
{
    QTextEdit::ExtraSelection selection;
    selection.cursor = QTextCursor(m_editor.document()->findBlockByNumber(line - 1));
    QColor colour = m_editor.palette().color(QPalette::Highlight);
    colour.setAlpha(64);
    selection.format.setBackground(colour);
    selection.format.setProperty(QTextFormat::FullWidthSelection, true);
    m_editor.setExtraSelections({selection});
    m_editor.setTextCursor(selection.cursor);
}

void BatchArea::moveCursorToLine(int line)
{
    m_editor.setTextCursor(QTextCursor(m_editor.document()->findBlockByNumber(line - 1)));
    m_editor.setFocus();
}

void BatchArea::insertCurrentPose()
{
    QStringList pairs;
    const ChannelValues values = m_output.channelValues();
    for (std::size_t index = 0; index < values.size(); ++index)
        pairs << QStringLiteral("%1=%2").arg(index + 1).arg(values[index]);
    insertLine(pairs.join(u' '));
}

void BatchArea::insertMove()
{
    QStringList pairs;
    const ChannelValues values = m_output.channelValues();
    for (std::size_t index = 0; index < values.size(); ++index) {
        // A channel that is off has no position to glide from.
        const std::string &name = m_channels.channel(int(index + 1)).name;
        if (values[index] != ChannelTable::offValue)
            pairs << QStringLiteral("%1=%2")
                         .arg(name.empty() ? QString::number(index + 1)
                                           : QString::fromStdString(name))
                         .arg(values[index]);
    }
    if (pairs.isEmpty())
        m_messages.showMessage(QCoreApplication::translate(
            "BatchArea", "没有插入移动：所有通道都是关（0）的，而移动从通道现在的位置出发。"
                         "请先用滑块或数值框把要移动的通道设到一个位置。"));
    else
        insertLine(QStringLiteral("move %1 in 500").arg(pairs.join(u' ')));
}

void BatchArea::insertLine(const QString &line)
{
    // A line of its own after the cursor's, so that every line stays one command; a selection is
    // left as it is.
    QTextCursor cursor = m_editor.textCursor();
    cursor.setPosition(cursor.selectionEnd());
    cursor.beginEditBlock();
    if (!cursor.block().text().trimmed().isEmpty()) {
        cursor.movePosition(QTextCursor::EndOfBlock);
        cursor.insertText(QStringLiteral("\n"));
    }
    cursor.insertText(line);
    if (!cursor.atBlockEnd())
        cursor.insertText(QStringLiteral("\n"));
    cursor.endEditBlock();
    m_editor.setTextCursor(cursor);
}

bool BatchArea::open(const QString &path)
{
    QString error;
    const std::optional<QByteArray> bytes = readBatchFile(path, error);
    if (!bytes) {
        m_messages.showWarning(error);
        return false;
    }
    // One edit, so that Ctrl+Z brings back what the box held before.
    QTextCursor all(m_editor.document());
    all.select(QTextCursor::Document);
    all.insertText(QString::fromUtf8(*bytes));
    m_editor.moveCursor(QTextCursor::Start);
    useFile(path);
    m_undoStepsAtOpen = m_editor.document()->availableUndoSteps();
    return true;
}

bool BatchArea::saveAs(const QString &path)
{
    QString error;
    if (!writeBatchFile(path, m_editor.toPlainText(), error)) {
        m_messages.showWarning(error);
        return false;
    }
    useFile(path);
    m_undoStepsAtOpen = 0; // the file now holds the text, whatever is undone
    return true;
}

void BatchArea::save()
{
    // With the Open undone, the box holds another text than that file's: ask where it goes.
    if (m_currentFile.isEmpty() || m_editor.document()->availableUndoSteps() < m_undoStepsAtOpen)
        chooseFileToSave();
    else
        saveAs(m_currentFile);
}

void BatchArea::useFile(const QString &path)
{
    m_currentFile = path;
    m_folder = QFileInfo(path).absolutePath();
    if (m_recentFolder)
        m_recentFolder->remember(m_folder);
}

QString BatchArea::dialogFolder() const
{
    return m_folder.isEmpty() && m_recentFolder ? m_recentFolder->folder() : m_folder;
}

void BatchArea::showMenu(const QPoint &at)
{
    QMenu *menu = m_editor.createStandardContextMenu(at);
    menu->addSeparator();
    menu->addActions({m_insertPose, m_insertMove, m_open, m_save, m_saveAs});
    menu->addSeparator();
    menu->addAction(QCoreApplication::translate("BatchArea", "通道设置…"), this,
                    &BatchArea::channelSetupRequested);
    menu->exec(m_editor.viewport()->mapToGlobal(at));
    delete menu;
}

void BatchArea::chooseFileToOpen()
{
    const QString path = QFileDialog::getOpenFileName(
        m_editor.window(), QCoreApplication::translate("BatchArea", "打开"), dialogFolder(),
        batchFileFilter());
    if (!path.isEmpty())
        open(path);
}

void BatchArea::chooseFileToSave()
{
    QFileDialog dialog(m_editor.window(), QCoreApplication::translate("BatchArea", "另存为"),
                       dialogFolder(), batchFileFilter());
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    // A name typed without a suffix gets one, so that the "*.txt" filter shows the file later.
    dialog.setDefaultSuffix(QStringLiteral("txt"));
    if (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty())
        saveAs(dialog.selectedFiles().constFirst());
}

} // namespace pwm20
