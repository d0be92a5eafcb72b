#pragma once

#include <QStyledItemDelegate>

namespace pwm20 {

// The motion editor's cells edited as what they hold: a channel's value in a spin box of 0..255
// whose empty text leaves the channel alone, a time in milliseconds, a curve from a list; a text
// row as its text.
class SequenceDelegate final : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                          const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;
};

} // namespace pwm20
