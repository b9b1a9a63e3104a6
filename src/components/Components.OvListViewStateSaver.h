#pragma once
// Remembers the column layout of a list view: one item per column with its
// index, visibility, display position, sort state and width.

#include <QObject>

#include "Components.PersistentCollection.h"
#include "OvVcl.ListColumns.h"

class TOvListView;

class TOvListViewStateSaverItem : public QObject
{
    Q_OBJECT
    Q_PROPERTY(int ColumnIndex READ ColumnIndex WRITE SetColumnIndex)
    Q_PROPERTY(bool Visible READ Visible WRITE SetVisible)
    Q_PROPERTY(int Order READ Order WRITE SetOrder)
    Q_PROPERTY(bool Sorted READ Sorted WRITE SetSorted)
    Q_PROPERTY(
        TOvListColumn::TSortDirection SortDirection READ SortDirection WRITE SetSortDirection)
    Q_PROPERTY(int Width READ Width WRITE SetWidth)

public:
    using TSortDirection = TOvListColumn::TSortDirection;

    using QObject::QObject;

    int ColumnIndex() const { return FColumnIndex; }
    void SetColumnIndex(int value) { FColumnIndex = value; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool value) { FVisible = value; }
    int Order() const { return FOrder; }
    void SetOrder(int value) { FOrder = value; }
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value) { FSorted = value; }
    TSortDirection SortDirection() const { return FSortDirection; }
    void SetSortDirection(TSortDirection value) { FSortDirection = value; }
    int Width() const { return FWidth; }
    void SetWidth(int value) { FWidth = value; }

private:
    int FColumnIndex = -1;
    bool FVisible = true;
    int FOrder = 0;
    bool FSorted = false;
    TSortDirection FSortDirection = TSortDirection::sdAscending;
    int FWidth = 100;
};

class TOvListViewStateSaver : public TPersistentCollectionOf<TOvListViewStateSaverItem>
{
    Q_OBJECT
public:
    using TPersistentCollectionOf::TPersistentCollectionOf;

    // One item per column of the list, in column-collection order.
    void SaveListViewState(const TOvListView* list);
    // Applies the stored layout: ignored as a whole when it was stored for
    // another number of columns; repeated or out-of-range column indexes are
    // replaced by the items' positions; items are applied in display order.
    // True when at least one visible column was applied.
    bool LoadListViewState(TOvListView* list) const;
};
