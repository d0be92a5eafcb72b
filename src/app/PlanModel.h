#pragma once

#include "batch/BatchPlan.h"

#include <QAbstractTableModel>
#include <QStringList>

namespace pwm20 {

// A batch plan as table rows, a frame each: its time, channel, value and batch line. The texts
// are made as a row is drawn, so a plan of many thousand frames shows at once.
class PlanModel final : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { TimeColumn, ChannelColumn, ValueColumn, LineColumn };
    static constexpr int columns = LineColumn + 1;

    using QAbstractTableModel::QAbstractTableModel;

    // The channels are named as `table` names them now: a later setup leaves the plan as made.
    void setPlan(BatchPlan plan, const ChannelTable &table);
    const BatchPlan &plan() const { return m_plan; }

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

private:
    BatchPlan m_plan;
    QStringList m_channels; // "3 shoulder" or "3", channel 1 first
};

} // namespace pwm20
