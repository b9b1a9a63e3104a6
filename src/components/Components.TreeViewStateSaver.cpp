#include "Components.TreeViewStateSaver.h"

#include <QCryptographicHash>
#include <QHash>
#include <QItemSelectionModel>
#include <QStringEncoder>
#include <QStringList>
#include <QTreeView>

namespace {

const QChar PathDelimiter = u'\\';

// Calls visit for every node below parent, depth first in tree order.
template <typename TVisit>
void ForEachNode(const QAbstractItemModel& model, const QModelIndex& parent, TVisit&& visit)
{
    for (int row = 0; row < model.rowCount(parent); ++row) {
        const QModelIndex node = model.index(row, 0, parent);
        visit(node);
        ForEachNode(model, node, visit);
    }
}

} // namespace

TTreeViewStateSaver::TTreeViewStateSaver(bool AEncryptPath, QObject* parent)
    : TTreeViewStateSaver(nullptr, AEncryptPath, parent)
{
}

TTreeViewStateSaver::TTreeViewStateSaver(TGetItemTextFunc AGetItemTextFunc, bool AEncryptPath,
                                         QObject* parent)
    : TPersistentCollectionOf(parent), FEncryptPath(AEncryptPath),
      FGetItemTextFunc(std::move(AGetItemTextFunc))
{
}

void TTreeViewStateSaver::AddItem(const QString& path, bool expanded)
{
    TTreeViewStateSaverItem* item = AppendItem();
    item->SetPath(path);
    item->SetExpanded(expanded);
}

QString TTreeViewStateSaver::GetItemText(const QModelIndex& node) const
{
    return FGetItemTextFunc ? FGetItemTextFunc(node) : node.data(Qt::DisplayRole).toString();
}

QString TTreeViewStateSaver::GetNodePath(const QModelIndex& node) const
{
    QStringList elements;
    for (QModelIndex n = node; n.isValid(); n = n.parent())
        elements.prepend(GetItemText(n));
    return StoredPath(elements.join(PathDelimiter));
}

QString TTreeViewStateSaver::StoredPath(const QString& path) const
{
    return FEncryptPath ? PathDigest(path) : path;
}

QString TTreeViewStateSaver::PathDigest(const QString& path)
{
    if (path.isEmpty())
        return QString();
    const QByteArray utf16le = QStringEncoder(QStringConverter::Utf16LE).encode(path);
    const QByteArray digest = QCryptographicHash::hash(utf16le, QCryptographicHash::Sha1);
    return QString::fromLatin1(digest.toHex()).toUpper();
}

void TTreeViewStateSaver::SaveTreeViewState(const QTreeView* treeView)
{
    ClearItems();
    const QItemSelectionModel* selection = treeView->selectionModel();
    ForEachNode(*treeView->model(), QModelIndex(), [&](const QModelIndex& node) {
        const QString path = GetNodePath(node);
        AddItem(path, treeView->isExpanded(node));
        if (selection && selection->isSelected(node))
            FSelectedItemPath = path;
    });
}

bool TTreeViewStateSaver::LoadTreeViewState(QTreeView* treeView) const
{
    QHash<QString, QPersistentModelIndex> nodes;
    ForEachNode(*treeView->model(), QModelIndex(),
                [&](const QModelIndex& node) { nodes.insert(GetNodePath(node), node); });
    bool matched = false;
    for (const TTreeViewStateSaverItem* item : Items()) {
        const auto node = nodes.constFind(item->Path());
        if (node == nodes.constEnd())
            continue;
        treeView->setExpanded(*node, item->Expanded());
        matched = true;
    }
    const auto selected = nodes.constFind(FSelectedItemPath);
    if (selected != nodes.constEnd())
        treeView->setCurrentIndex(*selected);
    return matched;
}
