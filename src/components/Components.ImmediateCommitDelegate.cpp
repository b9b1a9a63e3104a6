#include "Components.ImmediateCommitDelegate.h"

#include <QLineEdit>

QWidget* TImmediateCommitDelegate::createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                                                const QModelIndex& index) const
{
    QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
    if (auto* edit = qobject_cast<QLineEdit*>(editor)) {
        auto* self = const_cast<TImmediateCommitDelegate*>(this);
        connect(edit, &QLineEdit::textEdited, self,
                [self, edit] { Q_EMIT self->commitData(edit); });
    }
    return editor;
}
