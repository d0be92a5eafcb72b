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

// Edits the setup in use: the twenty channels' names, limits and homes in one table, and what a
// stopped batch sends. Every edit is checked at once; only a setup without faults can be saved,
// and a saved one is used at once without moving anything.
class ChannelSetupDialog final : public QDialog
{
    Q_OBJECT

public:
    ChannelSetupDialog(SetupInUse &setup, MessagePresenter &messages, QWidget *parent = nullptr);

    // Puts the cursor on this channel's row, the one the user asked about.
    void showChannel(int channel);

private:
    // The channel's number, then a column for each field.
    static constexpr int channelColumn = 0;
    static constexpr int firstCellColumn = 1;

    QLineEdit *cell(int channel, int field) const;
    SetupCells cells() const;
    void showCells(const SetupCells &shown);
    void check();
    void save();
    void saveAs();
    void saveTo(const QString &path);
    QString askForPath();

    SetupInUse &m_setup;
    MessagePresenter &m_messages;
    QTableWidget *m_table = nullptr;
    QLabel *m_fault = nullptr;
    QComboBox *m_stopPose = nullptr;
    QPushButton *m_save = nullptr;
    QPushButton *m_saveAs = nullptr;
};

} // namespace pwm20
