#pragma once

#include "setup/SetupCells.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace pwm20 {

class MessagePresenter;
class SetupInUse;

// Edits the setup in use: the twenty channels' names, limits, homes, speeds and accelerations in
// one table, and what a stopped batch sends. Every edit is checked at once; only a setup without
// faults can be saved, and a saved one is used at once without moving anything. A file that could
// not be used is shown as far as it can be read, and saving writes it. Closing with unsaved edits
// asks first.
class ChannelSetupDialog final : public QDialog
{
    Q_OBJECT

public:
    ChannelSetupDialog(SetupInUse &setup, MessagePresenter &messages, QWidget *parent = nullptr);

    // Puts the cursor on this channel's row, the one the user asked about, its name selected.
    void showChannel(int channel);

    // Esc, the close button and 取消: asks first when there are unsaved edits.
    void reject() override;
    // That question is up: the main window waits for its answer before it may close.
    bool isAsking() const { return m_asking; }

protected:
    // A cell entered by the keyboard has its text selected, so that typing replaces it; Esc puts
    // back what the cell held when entered.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    // The channel's number, then a column for each field.
    static constexpr int channelColumn = 0;
    static constexpr int firstCellColumn = 1;

    QLineEdit *cell(int channel, int field) const;
    SetupCells cells() const;
    void showCells(const SetupCells &shown);
    void check();
    QString faultText(const CellReading &reading) const;
    QString targetPath() const;
    void save();
    void saveAs();
    void saveTo(const QString &path);
    QString askForPath();

    SetupInUse &m_setup;
    MessagePresenter &m_messages;
    SetupCells m_start;  // as the dialog opened: anything else is unsaved
    QString m_fileFault; // what is wrong with the file shown, when it could not be used
    bool m_asking = false;
    CellPlace m_edited;                 // the limit or home edited last
    QLineEdit *m_enteredCell = nullptr; // the cell with the cursor
    QString m_entered;                  // its text as it was entered
    QTableWidget *m_table = nullptr;
    QLabel *m_fault = nullptr;
    QComboBox *m_stopPose = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_saveAs = nullptr;
};

} // namespace pwm20
