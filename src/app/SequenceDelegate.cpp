#include "SequenceDelegate.h"

#include "SequenceModel.h"
#include "batch/BatchScript.h"

#include <QComboBox>
#include <QSpinBox>

namespace pwm20 {
namespace {

// 0..255, or empty: -1 stands for the empty text.
class ValueSpinBox final : public QSpinBox
{
public:
    explicit ValueSpinBox(QWidget *parent) : QSpinBox(parent) { setRange(-1, 255); }

protected:
    QString textFromValue(int value) const override
    {
        return value < 0 ? QString() : QString::number(value);
    }
    int valueFromText(const QString &text) const override
    {
        return text.trimmed().isEmpty() ? -1 : text.toInt();
    }
    QValidator::State validate(QString &text, int &position) const override
    {
        return text.trimmed().isEmpty() ? QValidator::Acceptable
                                        : QSpinBox::validate(text, position);
    }
};

bool isChannel(const QModelIndex &index)
{
    const auto *model = qobject_cast<const SequenceModel *>(index.model());
    return model && model->channelAt(index.column()) > 0 && !model->isTextRow(index.row());
}

bool isKeyframe(const QModelIndex &index)
{
    const auto *model = qobject_cast<const SequenceModel *>(index.model());
    return model && !model->isTextRow(index.row());
}

} // namespace

QWidget *SequenceDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    if (isKeyframe(index) && index.column() == SequenceModel::CurveColumn) {
        auto *curves = new QComboBox(parent);
        for (const Curve curve : {Curve::Instant, Curve::Linear, Curve::Smooth})
            curves->addItem(SequenceModel::curveName(curve), int(curve));
        return curves;
    }
    if (isKeyframe(index) && index.column() == SequenceModel::DurationColumn) {
        auto *time = new QSpinBox(parent);
        time->setRange(0, int(longestWaitMs)); // what a batch line takes
        time->setSuffix(QStringLiteral(" ms"));
        return time;
    }
    if (isChannel(index))
        return new ValueSpinBox(parent);
    return QStyledItemDelegate::createEditor(parent, option, index);
}

void SequenceDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    const QVariant value = index.data(Qt::EditRole);
    if (auto *curves = qobject_cast<QComboBox *>(editor))
        curves->setCurrentIndex(curves->findData(value.toInt()));
    else if (auto *number = qobject_cast<QSpinBox *>(editor))
        number->setValue(value.isValid() ? value.toInt() : -1);
    else
        QStyledItemDelegate::setEditorData(editor, index);
}

void SequenceDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    if (auto *curves = qobject_cast<QComboBox *>(editor)) {
        model->setData(index, curves->currentData());
    } else if (auto *number = qobject_cast<QSpinBox *>(editor)) {
        number->interpretText();
        model->setData(index, number->value() < 0 ? QVariant() : QVariant(number->value()));
    } else {
        QStyledItemDelegate::setModelData(editor, model, index);
    }
}

} // namespace pwm20
