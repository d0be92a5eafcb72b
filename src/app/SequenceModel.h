#pragma once

#include "sequence/MotionSequence.h"
#include "sequence/SequencePlot.h"

#include <QAbstractTableModel>

#include <optional>
#include <vector>

namespace pwm20 {

// The motion editor's steps, a row a line of the batch box: its start in the plan, its time and
// curve, then a column for each channel the keyframes set; any other line shows its text across
// from the time column. An edit never changes the rows here: it gives the line's new text, and
// the rows come back read from the box.
class SequenceModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { StartColumn, DurationColumn, CurveColumn, firstChannelColumn };

    using QAbstractTableModel::QAbstractTableModel;

    // The same rows and columns keep the view's editors and spans; others reset it.
    void setSequence(MotionSequence sequence, const ChannelTable &table);
    const MotionSequence &sequence() const { return m_sequence; }
    // Where the plan starts each step; a line it never reaches has no start.
    void setStarts(const std::vector<StepSpan> &spans);
    // The row the batch check stops at, and the row playing; -1 for none.
    void setErrorRow(int row);
    void setPlayingRow(int row);
    int playingRow() const { return m_playingRow; }
    // Nothing is edited while a batch plays: the box is read-only then.
    void setEditable(bool editable);
    // The channel a column shows, 0 for the others.
    int channelAt(int column) const;
    bool isTextRow(int row) const;

    static QString curveName(Curve curve);

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A channel's empty value (an invalid variant) leaves the channel alone.
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

Q_SIGNALS:
    // The line of this row is to read `text`.
    void lineEdited(int row, const QString &text);
    // An edit that cannot be made, and why.
    void editRefused(const QString &why);

private:
    void changeRow(int row, const QString &text);
    void updateRow(int row);

    MotionSequence m_sequence;
    const ChannelTable *m_table = nullptr;
    std::vector<std::optional<double>> m_startMs; // by row
    int m_errorRow = -1;
    int m_playingRow = -1;
    bool m_editable = true;
};

} // namespace pwm20
