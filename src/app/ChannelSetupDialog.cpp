#include "ChannelSetupDialog.h"

#include "channels/ChannelTexts.h"
#include "serial/MessagePresenter.h"
#include "setup/SetupFile.h"
#include "setup/SetupInUse.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QTableWidget>
#include <QVBoxLayout>
#include <QWindow>

#include <algorithm>

namespace pwm20 {
namespace {

QStringList columnTitles()
{
    return {QCoreApplication::translate("ChannelSetupDialog", "通道"),
            QCoreApplication::translate("ChannelSetupDialog", "名称"),
            QCoreApplication::translate("ChannelSetupDialog", "最小"),
            QCoreApplication::translate("ChannelSetupDialog", "最大"),
            QCoreApplication::translate("ChannelSetupDialog", "归位"),
            QCoreApplication::translate("ChannelSetupDialog", "速度"),
            QCoreApplication::translate("ChannelSetupDialog", "加速度")};
}

} // namespace

ChannelSetupDialog::ChannelSetupDialog(SetupInUse &setup, MessagePresenter &messages,
                                       QWidget *parent)
    : QDialog(parent), m_setup(setup), m_messages(messages)
{
    setObjectName(QStringLiteral("ChannelSetupDialog"));
    const auto &refused = setup.refused();
    m_start =
        refused ? SetupCells::ofText(refused->text.toStdString()) : SetupCells::of(setup.table());
    if (refused)
        m_fileFault = QCoreApplication::translate("ChannelSetupDialog",
                                                  "这个文件无法使用，现用的是默认设置：%1\n"
                                                  "改正后保存，将用上表的内容改写这个文件。")
                          .arg(refused->error);
    setWindowTitle(QCoreApplication::translate("ChannelSetupDialog", "通道设置 — %1")
                       .arg(targetPath().isEmpty()
                                ? QCoreApplication::translate("ChannelSetupDialog", "默认设置")
                                : targetPath()));

    m_table = new QTableWidget(ChannelTable::channelCount, firstCellColumn + SetupCells::fieldCount,
                               this);
    const QStringList titles = columnTitles();
    m_table->setHorizontalHeaderLabels(titles);
    m_table->verticalHeader()->hide();
    m_table->horizontalHeader()->setSectionResizeMode(firstCellColumn + SetupCells::Name,
                                                      QHeaderView::Stretch);
    const SetupCells &start = m_start;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        auto *number = new QTableWidgetItem(QString::number(channel));
        number->setFlags(Qt::ItemIsEnabled);
        m_table->setItem(channel - 1, channelColumn, number);
        for (int field = 0; field < SetupCells::fieldCount; ++field) {
            auto *edit = new QLineEdit(start.rows[std::size_t(channel - 1)][std::size_t(field)]);
            edit->setFrame(false);
            edit->setObjectName(QLatin1StringView(SetupCells::keys[std::size_t(field)]) +
                                QString::number(channel));
            edit->setAccessibleName(channelTitle(ChannelTable(), channel) + u' ' +
                                    titles[firstCellColumn + field]);
            edit->installEventFilter(this);
            // Of the limits and home, which one changed last.
            if (field >= SetupCells::Min && field <= SetupCells::Home)
                connect(edit, &QLineEdit::textChanged, this, [this, channel, field] {
                    m_edited = {channel, SetupCells::Field(field)};
                });
            connect(edit, &QLineEdit::textChanged, this, &ChannelSetupDialog::check);
            m_table->setCellWidget(channel - 1, firstCellColumn + field, edit);
        }
    }
    // Room for a long name, a number (100000 at most) or the title above it, and for all twenty
    // rows at once where the screen has it.
    const int digit = fontMetrics().horizontalAdvance(u'0');
    m_table->resizeColumnToContents(channelColumn);
    int width = 2 * m_table->frameWidth() + m_table->columnWidth(channelColumn) + 24 * digit;
    for (int field = SetupCells::Min; field < SetupCells::fieldCount; ++field) {
        const int column = firstCellColumn + field;
        const int columnWidth =
            std::max(8 * digit, m_table->horizontalHeader()->sectionSizeHint(column));
        m_table->setColumnWidth(column, columnWidth);
        width += columnWidth;
    }
    const int allRows = 2 * m_table->frameWidth() + m_table->verticalHeader()->length() +
                        m_table->horizontalHeader()->sizeHint().height();
    const int room = (parent ? parent->screen() : screen())->availableGeometry().height() - 250;
    m_table->setMinimumSize(width, std::clamp(room, allRows / 2, allRows));

    m_fault = new QLabel(this);
    m_fault->setObjectName(QStringLiteral("fault"));
    m_fault->setWordWrap(true);
    // Room for a file's fault, its path and the advice: a wrapped label's height is not counted
    // in the dialog's own, so a longer text would run over the table.
    m_fault->setMinimumHeight(3 * m_fault->fontMetrics().lineSpacing());
    m_fault->setAlignment(Qt::AlignLeft | Qt::AlignTop);

    m_stopPose = new QComboBox(this);
    m_stopPose->addItems({QCoreApplication::translate("ChannelSetupDialog", "无"),
                          QCoreApplication::translate("ChannelSetupDialog", "归位"),
                          QCoreApplication::translate("ChannelSetupDialog", "全关")});
    m_stopPose->setCurrentIndex(int(start.stopPose));
    auto *stopPoseLabel =
        new QLabel(QCoreApplication::translate("ChannelSetupDialog", "停止批量发送时："), this);
    stopPoseLabel->setBuddy(m_stopPose);

    auto *buttons = new QDialogButtonBox(this);
    // No button accepts the dialog by itself, so none becomes the default one that Enter presses.
    m_save = buttons->addButton(QCoreApplication::translate("ChannelSetupDialog", "保存"),
                                QDialogButtonBox::ActionRole);
    m_saveAs = buttons->addButton(QCoreApplication::translate("ChannelSetupDialog", "另存为…"),
                                  QDialogButtonBox::ActionRole);
    buttons->addButton(QCoreApplication::translate("ChannelSetupDialog", "取消"),
                       QDialogButtonBox::RejectRole);
    m_save->setObjectName(QStringLiteral("save"));
    m_saveAs->setObjectName(QStringLiteral("saveAs"));
    // Enter finishes typing a cell; only a click saves.
    for (QAbstractButton *button : buttons->buttons())
        static_cast<QPushButton *>(button)->setAutoDefault(false);
    auto *defaults =
        buttons->addButton(QCoreApplication::translate("ChannelSetupDialog", "全部恢复默认"),
                           QDialogButtonBox::ResetRole);
    defaults->setAutoDefault(false);
    connect(defaults, &QPushButton::clicked, this, [this] { showCells(SetupCells::of({})); });
    // The buttons save; the dialog closes only once the file is written.
    connect(m_save, &QPushButton::clicked, this, &ChannelSetupDialog::save);
    connect(m_saveAs, &QPushButton::clicked, this, &ChannelSetupDialog::saveAs);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto *stopPoseRow = new QHBoxLayout;
    stopPoseRow->addWidget(stopPoseLabel);
    stopPoseRow->addWidget(m_stopPose);
    stopPoseRow->addStretch();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_table);
    layout->addWidget(m_fault);
    layout->addLayout(stopPoseRow);
    layout->addWidget(buttons);
    check();
}

void ChannelSetupDialog::showCells(const SetupCells &shown)
{
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel)
        for (int field = 0; field < SetupCells::fieldCount; ++field)
            cell(channel, field)->setText(shown.rows[std::size_t(channel - 1)][std::size_t(field)]);
    m_stopPose->setCurrentIndex(int(shown.stopPose));
}

void ChannelSetupDialog::showChannel(int channel)
{
    m_table->scrollToItem(m_table->item(channel - 1, channelColumn));
    // Selected here too: a window not yet active gets the focus only once it is.
    cell(channel, SetupCells::Name)->setFocus();
    cell(channel, SetupCells::Name)->selectAll();
    m_enteredCell = cell(channel, SetupCells::Name);
    m_entered = m_enteredCell->text();
}

bool ChannelSetupDialog::eventFilter(QObject *watched, QEvent *event)
{
    auto *edit = qobject_cast<QLineEdit *>(watched);
    if (edit && event->type() == QEvent::FocusIn) {
        // Coming back from another window, or a click, keeps the cursor where it was put.
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason) {
            m_enteredCell = edit;
            m_entered = edit->text();
            if (reason != Qt::MouseFocusReason)
                edit->selectAll();
        }
    } else if (edit && event->type() == QEvent::KeyPress &&
               static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape && edit == m_enteredCell &&
               edit->text() != m_entered) {
        edit->setText(m_entered);
        edit->selectAll();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void ChannelSetupDialog::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    // A window of its own beside the main one, not one that stands for it: a question this
    // dialog asks then blocks the dialog alone, and the main window's Stop stays in reach.
    if (windowHandle())
        windowHandle()->setTransientParent(nullptr);
}

void ChannelSetupDialog::reject()
{
    if (cells() == m_start)
        return QDialog::reject();
    if (m_asking) // asked again from outside while the question is up: it stays the one
        return;
    const bool faulty = readCells(cells()).error.has_value();
    QMessageBox ask(QMessageBox::Question, windowTitle(),
                    faulty ? QCoreApplication::translate("ChannelSetupDialog",
                                                         "通道设置有改动，但其中有错误，无法保存。"
                                                         "放弃这些改动吗？")
                           : QCoreApplication::translate("ChannelSetupDialog",
                                                         "通道设置有改动，尚未保存。保存吗？"),
                    QMessageBox::Discard | QMessageBox::Cancel, this);
    if (!faulty)
        ask.addButton(QMessageBox::Save)
            ->setText(QCoreApplication::translate("ChannelSetupDialog", "保存"));
    ask.button(QMessageBox::Discard)
        ->setText(QCoreApplication::translate("ChannelSetupDialog", "放弃改动"));
    ask.button(QMessageBox::Cancel)
        ->setText(QCoreApplication::translate("ChannelSetupDialog", "取消"));
    ask.setDefaultButton(QMessageBox::Cancel);
    ask.setEscapeButton(QMessageBox::Cancel);
    ask.setWindowModality(Qt::WindowModal);
    const QScopedValueRollback asking(m_asking, true);
    const int answer = ask.exec();
    if (answer == QMessageBox::Save)
        save();
    else if (answer == QMessageBox::Discard)
        QDialog::reject();
}

QLineEdit *ChannelSetupDialog::cell(int channel, int field) const
{
    return static_cast<QLineEdit *>(m_table->cellWidget(channel - 1, firstCellColumn + field));
}

SetupCells ChannelSetupDialog::cells() const
{
    SetupCells cells;
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel)
        for (int field = 0; field < SetupCells::fieldCount; ++field)
            cells.rows[std::size_t(channel - 1)][std::size_t(field)] = cell(channel, field)->text();
    cells.stopPose = ChannelTable::StopPose(m_stopPose->currentIndex());
    return cells;
}

QString ChannelSetupDialog::faultText(const CellReading &reading) const
{
    // The cell is named by its column, so the problem alone follows, in the columns' words.
    const CellPlace place = reading.place;
    const auto shown = [&](SetupCells::Field field) {
        return cell(place.channel, field)->text().trimmed();
    };
    SetupError problem = *reading.error;
    problem.section.clear();
    problem.key.clear();
    QString text = setupErrorText(problem);
    if (problem.problem == SetupError::Problem::MinAboveMax)
        text = QCoreApplication::translate("ChannelSetupDialog", "最小（%1）大于最大（%2）。")
                   .arg(shown(SetupCells::Min), shown(SetupCells::Max));
    else if (problem.problem == SetupError::Problem::HomeOutside)
        text = QCoreApplication::translate("ChannelSetupDialog",
                                           "归位（%1）应在最小（%2）和最大（%3）之间。")
                   .arg(shown(SetupCells::Home), shown(SetupCells::Min), shown(SetupCells::Max));
    return QCoreApplication::translate("ChannelSetupDialog", "%1，%2：%3")
        .arg(channelTitle(ChannelTable(), place.channel),
             columnTitles()[firstCellColumn + place.field], text);
}

void ChannelSetupDialog::check()
{
    const CellReading reading = readCells(cells(), m_edited);
    const QString fault = reading.error ? faultText(reading) : QString();
    m_fault->setText(reading.error ? fault : m_fileFault);
    m_save->setEnabled(!reading.error);
    m_saveAs->setEnabled(!reading.error);
    QPalette faulty;
    faulty.setColor(QPalette::Base, QColor(255, 205, 205));
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel)
        for (int field = 0; field < SetupCells::fieldCount; ++field) {
            const bool marked =
                reading.error && channel == reading.place.channel && field == reading.place.field;
            cell(channel, field)->setPalette(marked ? faulty : QPalette());
            cell(channel, field)->setToolTip(marked ? fault : QString());
        }
}

// The file in use, else the one that could not be used: saving puts it right.
QString ChannelSetupDialog::targetPath() const
{
    return m_setup.path().isEmpty() && m_setup.refused() ? m_setup.refused()->path : m_setup.path();
}

void ChannelSetupDialog::save()
{
    const QString path = targetPath().isEmpty() ? askForPath() : targetPath();
    if (!path.isEmpty())
        saveTo(path);
}

void ChannelSetupDialog::saveAs()
{
    const QString path = askForPath();
    if (!path.isEmpty())
        saveTo(path);
}

void ChannelSetupDialog::saveTo(const QString &path)
{
    const CellReading reading = readCells(cells());
    if (reading.error)
        return;
    QString error;
    if (!m_setup.save(path, reading.table, error)) {
        m_messages.showWarning(
            QCoreApplication::translate("ChannelSetupDialog", "无法保存通道设置。\n%1").arg(error));
        return;
    }
    accept();
}

QString ChannelSetupDialog::askForPath()
{
    // Starts in the folder of the file in use, if any, as the batch box's dialogs do.
    const QString folder = targetPath().isEmpty() ? QString() : QFileInfo(targetPath()).path();
    QFileDialog chooser(this, QCoreApplication::translate("ChannelSetupDialog", "保存通道设置"),
                        folder,
                        QCoreApplication::translate("ChannelSetupDialog", "通道设置 (*.ini)"));
    chooser.setAcceptMode(QFileDialog::AcceptSave);
    chooser.setDefaultSuffix(QStringLiteral("ini"));
    return chooser.exec() == QDialog::Accepted ? chooser.selectedFiles().value(0) : QString();
}

} // namespace pwm20
