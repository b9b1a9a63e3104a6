#include "Components.OvListViewStateSaver.h"

#include <QSet>

#include <algorithm>

#include "OvVcl.ListView.h"

namespace {

// Column indexes as stored, or the items' positions when any repeats or
// lies outside the columns.
QList<int> ColumnIndexes(const QList<TOvListViewStateSaverItem*>& items, int columnCount)
{
    QList<int> indexes;
    QSet<int> seen;
    bool renumber = false;
    for (const TOvListViewStateSaverItem* item : items) {
        const int index = item->ColumnIndex();
        renumber = renumber || index < 0 || index >= columnCount || seen.contains(index);
        seen.insert(index);
        indexes.append(index);
    }
    if (renumber)
        for (qsizetype i = 0; i < indexes.size(); ++i)
            indexes[i] = int(i);
    return indexes;
}

} // namespace

void TOvListViewStateSaver::SaveListViewState(const TOvListView* list)
{
    ClearItems();
    for (const TOvListColumn* column : list->Columns().Items()) {
        TOvListViewStateSaverItem* item = AppendItem();
        item->SetColumnIndex(column->Index());
        item->SetWidth(column->Width());
        item->SetSorted(column->Sorted());
        item->SetOrder(column->Order());
        item->SetVisible(column->Visible());
        item->SetSortDirection(column->SortDirection());
    }
}

bool TOvListViewStateSaver::LoadListViewState(TOvListView* list) const
{
    TOvListColumns& columns = list->Columns();
    if (ItemCount() != columns.Count())
        return false;
    const QList<int> indexes = ColumnIndexes(Items(), columns.Count());
    QList<qsizetype> byOrder(indexes.size());
    for (qsizetype i = 0; i < byOrder.size(); ++i)
        byOrder[i] = i;
    std::stable_sort(byOrder.begin(), byOrder.end(), [this](qsizetype a, qsizetype b) {
        return ItemAt(int(a))->Order() < ItemAt(int(b))->Order();
    });

    bool visibleApplied = false;
    columns.BeginUpdate();
    for (qsizetype i : byOrder) {
        const TOvListViewStateSaverItem* item = ItemAt(int(i));
        TOvListColumn* column = columns.Item(indexes.at(i));
        column->SetWidth(item->Width());
        column->SetSorted(item->Sorted());
        column->SetOrder(item->Order());
        column->SetVisible(item->Visible());
        column->SetSortDirection(item->SortDirection());
        visibleApplied = visibleApplied || item->Visible();
    }
    columns.EndUpdate();
    return visibleApplied;
}
