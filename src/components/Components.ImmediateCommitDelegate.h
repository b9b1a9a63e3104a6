#pragma once
// An item delegate whose line editor hands every keystroke to the model at
// once, so that reading the model never misses what is being typed.

#include <QStyledItemDelegate>

class TImmediateCommitDelegate : public QStyledItemDelegate
{
    Q_OBJECT
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                          const QModelIndex& index) const override;
};
