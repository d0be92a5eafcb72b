#include "PlanModel.h"

#include "batch/PlanText.h"

#include <QCoreApplication>

namespace pwm20 {

void PlanModel::setPlan(BatchPlan plan, const ChannelTable &table)
{
    beginResetModel();
    m_plan = std::move(plan);
    m_channels.clear();
    for (int channel = 1; channel <= ChannelTable::channelCount; ++channel) {
        const std::string &name = table.channel(channel).name;
        m_channels << (name.empty() ? QString::number(channel)
                                    : QStringLiteral("%1 %2").arg(channel).arg(
                                          QString::fromStdString(name)));
    }
    endResetModel();
}

int PlanModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_plan.frames.size());
}

int PlanModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : columns;
}

QVariant PlanModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    if (role == Qt::TextAlignmentRole)
        return QVariant::fromValue(
            (index.column() == ChannelColumn ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter);
    if (role != Qt::DisplayRole)
        return {};
    const PlanFrame &entry = m_plan.frames[std::size_t(index.row())];
    switch (index.column()) {
    case TimeColumn:
        return planTime(entry.arrivalNs);
    case ChannelColumn:
        return m_channels.value(entry.frame.channel - 1);
    case ValueColumn:
        return QString::number(entry.frame.value);
    case LineColumn:
        return entry.frame.line == 0 ? QStringLiteral("-") : QString::number(entry.frame.line);
    default:
        return {};
    }
}

QVariant PlanModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole)
        return QAbstractTableModel::headerData(section, orientation, role);
    switch (section) {
    case TimeColumn:
        return QCoreApplication::translate("PlanModel", "时间（毫秒）");
    case ChannelColumn:
        return QCoreApplication::translate("PlanModel", "通道");
    case ValueColumn:
        return QCoreApplication::translate("PlanModel", "数值");
    case LineColumn:
        return QCoreApplication::translate("PlanModel", "行");
    default:
        return {};
    }
}

} // namespace pwm20
