#include "OvVcl.ListColumns.h"

#include <algorithm>

namespace {

// Stores value in field; true when that changed it.
template <typename TValue> bool Assign(TValue& field, const TValue& value)
{
    if (field == value)
        return false;
    field = value;
    return true;
}

} // namespace

TOvListColumn::TOvListColumn(TOvListColumns* collection, int index, int order)
    : QObject(collection), FCollection(collection), FIndex(index), FOrder(order)
{
}

void TOvListColumn::SetSorted(bool value)
{
    if (value != FSorted)
        FCollection->SetColumnSorted(this, value, FSortDirection);
}

void TOvListColumn::SetSortDirection(TSortDirection value)
{
    if (value != FSortDirection)
        FCollection->SetColumnSorted(this, FSorted, value);
}

void TOvListColumn::SetOrder(int value)
{
    if (Assign(FOrder, value))
        FCollection->RequestReCreate();
}

void TOvListColumn::SetVisible(bool value)
{
    if (Assign(FVisible, value))
        FCollection->RequestReCreate();
}

void TOvListColumn::SetEllipsisStyle(TEllipsisStyle value)
{
    if (Assign(FEllipsisStyle, value))
        Changed();
}

void TOvListColumn::SetCaption(const QString& value)
{
    if (Assign(FCaption, value))
        Changed();
}

void TOvListColumn::SetAlignment(Qt::Alignment value)
{
    if (Assign(FAlignment, value))
        Changed();
}

void TOvListColumn::SetWidth(int value)
{
    int width = FMinWidth;
    if (value >= FMinWidth && value >= 0)
        width = FMaxWidth > 0 ? std::min(value, FMaxWidth) : value;
    if (Assign(FWidth, width))
        Changed();
}

void TOvListColumn::SetPartialTextHighlight(bool value)
{
    if (Assign(FPartialTextHighlight, value))
        Changed();
}

void TOvListColumn::Changed()
{
    FCollection->RequestUpdate(this);
}

// ---------------------------------------------------------------------------

TOvListColumns::TOvListColumns(IOvListColumnsOwner* owner, QObject* parent)
    : QObject(parent), FOwner(owner)
{
}

TOvListColumn* TOvListColumns::Add()
{
    const int index = Count();
    auto* column = new TOvListColumn(this, index, index);
    FItems.append(column);
    RequestReCreate();
    return column;
}

void TOvListColumns::Clear()
{
    qDeleteAll(FItems);
    FItems.clear();
    RequestReCreate();
}

void TOvListColumns::BeginUpdate()
{
    ++FUpdateCount;
}

void TOvListColumns::EndUpdate()
{
    if (FUpdateCount == 0 || --FUpdateCount > 0)
        return;
    if (FNeedToReCreateColumns) {
        FNeedToReCreateColumns = false;
        if (FOwner)
            FOwner->ReCreateColumns();
    }
}

QList<TOvListColumn*> TOvListColumns::ByDisplayOrder() const
{
    QList<TOvListColumn*> columns = FItems;
    std::stable_sort(
        columns.begin(), columns.end(),
        [](const TOvListColumn* a, const TOvListColumn* b) { return a->Order() < b->Order(); });
    return columns;
}

TOvListColumn* TOvListColumns::GetVisibleColumns(int index) const
{
    if (index < 0)
        return nullptr;
    for (TOvListColumn* column : ByDisplayOrder())
        if (column->Visible() && index-- == 0)
            return column;
    return nullptr;
}

int TOvListColumns::VisibleCount() const
{
    return int(std::count_if(FItems.cbegin(), FItems.cend(),
                             [](const TOvListColumn* column) { return column->Visible(); }));
}

TOvListColumn* TOvListColumns::GetColumnsByOrder(int order) const
{
    for (TOvListColumn* column : FItems)
        if (column->Order() == order)
            return column;
    return nullptr;
}

TOvListColumn* TOvListColumns::SortedColumn() const
{
    for (TOvListColumn* column : FItems)
        if (column->Sorted())
            return column;
    return nullptr;
}

void TOvListColumns::SetColumnOrder(TOvListColumn* column, int newOrder)
{
    if (newOrder < 0 || newOrder == column->FOrder)
        return;
    const bool movesLeft = newOrder < column->FOrder;
    for (TOvListColumn* c : FItems)
        c->FOrder *= 10;
    column->FOrder = movesLeft ? newOrder * 10 - 5 : newOrder * 10 + 5;
    Renumber();
    RequestReCreate();
}

void TOvListColumns::SetOriginalColumnOrder()
{
    for (TOvListColumn* column : FItems)
        column->FOrder = column->FIndex;
    RequestReCreate();
}

void TOvListColumns::SetColumnSorted(TOvListColumn* column, bool sorted, TSortDirection direction)
{
    column->FSorted = sorted;
    column->FSortDirection = direction;
    if (sorted)
        for (TOvListColumn* other : FItems)
            if (other != column)
                other->FSorted = false;
    RequestSort(column);
}

void TOvListColumns::ToggleSort(TOvListColumn* column, bool allowNoSort)
{
    if (!column->Sorted()) {
        SetColumnSorted(column, true, column->SortDirection());
    } else if (column->SortDirection() == TSortDirection::sdAscending) {
        SetColumnSorted(column, true, TSortDirection::sdDescending);
    } else {
        SetColumnSorted(column, !allowNoSort, TSortDirection::sdAscending);
    }
}

void TOvListColumns::TakeVisibleOrder(const QList<TOvListColumn*>& visibleInDisplayOrder)
{
    QList<int> visibleIndexes;
    for (const TOvListColumn* column : FItems)
        if (column->Visible())
            visibleIndexes.append(column->Index());
    for (qsizetype k = 0; k < visibleInDisplayOrder.size() && k < visibleIndexes.size(); ++k)
        visibleInDisplayOrder.at(k)->FOrder = visibleIndexes.at(k);
    Renumber();
}

void TOvListColumns::EnsureOneSorted(bool allowNoSort)
{
    if (allowNoSort || SortedColumn())
        return;
    for (TOvListColumn* column : ByDisplayOrder()) {
        if (column->Visible() && column->CanSort()) {
            column->FSorted = true;
            column->FSortDirection = TSortDirection::sdAscending;
            return;
        }
    }
}

void TOvListColumns::Renumber()
{
    const QList<TOvListColumn*> columns = ByDisplayOrder();
    for (qsizetype i = 0; i < columns.size(); ++i)
        columns.at(i)->FOrder = int(i);
}

void TOvListColumns::RequestReCreate()
{
    if (Updating())
        FNeedToReCreateColumns = true;
    else if (FOwner)
        FOwner->ReCreateColumns();
}

void TOvListColumns::RequestSort(TOvListColumn* column)
{
    if (Updating())
        FNeedToReCreateColumns = true;
    else if (FOwner)
        FOwner->ApplyColumnSort(column);
}

void TOvListColumns::RequestUpdate(TOvListColumn* column)
{
    if (Updating())
        FNeedToReCreateColumns = true;
    else if (FOwner)
        FOwner->UpdateColumn(column);
}
