#include "SequenceModel.h"

#include "sequence/KeyframeText.h"

#include <QBrush>
#include <QColor>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QPalette>

#include <algorithm>

namespace pwm20 {

QString SequenceModel::curveName(Curve curve)
{
    switch (curve) {
    case Curve::Instant:
        return QCoreApplication::translate("SequenceModel", "即时");
    case Curve::Linear:
        return QCoreApplication::translate("SequenceModel", "线性");
    case Curve::Smooth:
        return QCoreApplication::translate("SequenceModel", "平滑");
    }
    return {};
}

void SequenceModel::setSequence(MotionSequence sequence, const ChannelTable &table)
{
    const bool sameShape = m_table && sequence.rows().size() == m_sequence.rows().size() &&
                           sequence.channels() == m_sequence.channels();
    bool sameKinds = sameShape;
    for (std::size_t row = 0; sameKinds && row < sequence.rows().size(); ++row)
        sameKinds = sequence.rows()[row].kind == m_sequence.rows()[row].kind;
    if (!sameKinds)
        beginResetModel();
    m_sequence = std::move(sequence);
    m_table = &table;
    // Rows that stay where they were keep their starts until the plan comes again.
    if (!sameKinds)
        m_startMs.assign(m_sequence.rows().size(), std::nullopt);
    if (m_errorRow >= rowCount())
        m_errorRow = -1;
    if (m_playingRow >= rowCount())
        m_playingRow = -1;
    if (!sameKinds)
        endResetModel();
    else if (rowCount() > 0) {
        Q_EMIT dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        Q_EMIT headerDataChanged(Qt::Horizontal, 0, columnCount() - 1);
    }
}

void SequenceModel::setStarts(const std::vector<StepSpan> &spans)
{
    m_startMs.assign(m_sequence.rows().size(), std::nullopt);
    for (const StepSpan &span : spans) {
        const auto row = std::size_t(span.line - 1);
        if (row < m_startMs.size() && !m_startMs[row])
            m_startMs[row] = span.startMs;
    }
    if (rowCount() > 0)
        Q_EMIT dataChanged(index(0, StartColumn), index(rowCount() - 1, StartColumn));
}

void SequenceModel::setErrorRow(int row)
{
    const int was = std::exchange(m_errorRow, row);
    updateRow(was);
    updateRow(row);
}

void SequenceModel::setPlayingRow(int row)
{
    const int was = std::exchange(m_playingRow, row);
    updateRow(was);
    updateRow(row);
}

void SequenceModel::setEditable(bool editable)
{
    m_editable = editable;
}

void SequenceModel::updateRow(int row)
{
    if (row >= 0 && row < rowCount())
        Q_EMIT dataChanged(index(row, 0), index(row, columnCount() - 1));
}

int SequenceModel::channelAt(int column) const
{
    const auto at = std::size_t(column - firstChannelColumn);
    return column >= firstChannelColumn && at < m_sequence.channels().size()
               ? m_sequence.channels()[at]
               : 0;
}

bool SequenceModel::isTextRow(int row) const
{
    return m_sequence.rows().at(std::size_t(row)).kind == SequenceRow::Kind::Text;
}

int SequenceModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_sequence.rows().size());
}

int SequenceModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : firstChannelColumn + int(m_sequence.channels().size());
}

QVariant SequenceModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid())
        return {};
    const SequenceRow &row = m_sequence.rows()[std::size_t(index.row())];
    const int column = index.column();
    const bool text = row.kind == SequenceRow::Kind::Text;
    if (role == Qt::BackgroundRole) {
        if (index.row() == m_errorRow)
            return QBrush(QColor(255, 200, 200));
        if (index.row() == m_playingRow)
            return QGuiApplication::palette().brush(QPalette::Highlight).color().lighter(160);
        return {};
    }
    if (role == Qt::TextAlignmentRole)
        return column == StartColumn || (!text && column != CurveColumn)
                   ? QVariant(Qt::AlignRight | Qt::AlignVCenter)
                   : QVariant();
    if (role != Qt::DisplayRole && role != Qt::EditRole)
        return {};
    if (column == StartColumn) {
        const std::optional<double> start = m_startMs[std::size_t(index.row())];
        return start ? QString::number(*start / 1000, 'f', 3) : QString();
    }
    if (text)
        return column == DurationColumn ? QString::fromStdString(row.text) : QVariant();
    if (column == DurationColumn)
        return role == Qt::EditRole || row.curve != Curve::Instant
                   ? QVariant(qlonglong(row.durationMs))
                   : QVariant(QString());
    if (column == CurveColumn)
        return role == Qt::EditRole ? QVariant(int(row.curve)) : QVariant(curveName(row.curve));
    const std::optional<int> value = row.valueOf(channelAt(column));
    return value ? QVariant(*value) : QVariant();
}

QVariant SequenceModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (role != Qt::DisplayRole)
        return {};
    if (orientation == Qt::Vertical)
        return section + 1;
    switch (section) {
    case StartColumn:
        return QCoreApplication::translate("SequenceModel", "开始");
    case DurationColumn:
        return QCoreApplication::translate("SequenceModel", "时长");
    case CurveColumn:
        return QCoreApplication::translate("SequenceModel", "曲线");
    default:
        break;
    }
    const int channel = channelAt(section);
    const std::string &name = m_table ? m_table->channel(channel).name : std::string();
    return name.empty() ? QStringLiteral("PWM%1").arg(channel) : QString::fromStdString(name);
}

Qt::ItemFlags SequenceModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags flags = QAbstractTableModel::flags(index);
    if (m_editable && index.isValid() && index.column() != StartColumn &&
        (!isTextRow(index.row()) || index.column() == DurationColumn))
        flags |= Qt::ItemIsEditable;
    return flags;
}

bool SequenceModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (!index.isValid() || role != Qt::EditRole || !(flags(index) & Qt::ItemIsEditable))
        return false;
    SequenceRow row = m_sequence.rows()[std::size_t(index.row())];
    if (row.kind == SequenceRow::Kind::Text) {
        changeRow(index.row(), value.toString());
        return true;
    }
    if (index.column() == DurationColumn) {
        setDuration(row, value.toLongLong());
    } else if (index.column() == CurveColumn) {
        setCurve(row, Curve(value.toInt()));
    } else if (!setTarget(row, channelAt(index.column()),
                          value.isValid() ? std::optional(value.toInt()) : std::nullopt)) {
        Q_EMIT editRefused(QCoreApplication::translate(
            "SequenceModel", "关键帧至少要设一个通道：最后一个通道不能清空。"));
        return false;
    }
    changeRow(index.row(), QString::fromStdString(keyframeLine(row, *m_table)));
    return true;
}

void SequenceModel::changeRow(int row, const QString &text)
{
    // A row is one line: a line end pasted into it would make it two.
    const bool oneLine = std::ranges::none_of(text, [](QChar c) {
        return c == u'\n' || c == u'\r' || c == QChar::LineSeparator ||
               c == QChar::ParagraphSeparator;
    });
    if (oneLine && text != QString::fromStdString(m_sequence.rows()[std::size_t(row)].text))
        Q_EMIT lineEdited(row, text);
}

} // namespace pwm20
