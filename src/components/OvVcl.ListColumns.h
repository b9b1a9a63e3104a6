#pragma once
// The column model of TOvListView: columns that can be hidden, reordered and
// sorted independently of the header that shows them. A column's index in
// the collection is its identity; its Order is its display position among all
// columns, hidden ones included.

#include <QList>
#include <QObject>
#include <QString>

#include "OvVcl.TextEllipsis.h"

class TOvListColumn;

// What the columns ask of the control that shows them.
class IOvListColumnsOwner
{
public:
    virtual ~IOvListColumnsOwner() = default;
    // Show the visible columns in display order with their captions and widths.
    virtual void ReCreateColumns() = 0;
    // The sort state changed: re-sort, set the header arrows.
    virtual void ApplyColumnSort(TOvListColumn* column) = 0;
    // A column's look changed (caption, alignment, width, ellipsis, highlight).
    virtual void UpdateColumn(TOvListColumn* column) = 0;
};

class TOvListColumns;

class TOvListColumn : public QObject
{
    Q_OBJECT
public:
    enum class TSortDirection
    {
        sdAscending,
        sdDescending
    };
    Q_ENUM(TSortDirection)
    using TEllipsisStyle = ::TEllipsisStyle;

    TOvListColumn(TOvListColumns* collection, int index, int order);

    // Position in the collection: the column's identity.
    int Index() const { return FIndex; }

    // A header click may sort by this column.
    bool CanSort() const { return FCanSort; }
    void SetCanSort(bool value) { FCanSort = value; }
    // The user may hide the column from the header menu.
    bool CanHide() const { return FCanHide; }
    void SetCanHide(bool value) { FCanHide = value; }
    // The sort key; setting it true makes every other column unsorted.
    bool Sorted() const { return FSorted; }
    void SetSorted(bool value);
    TSortDirection SortDirection() const { return FSortDirection; }
    void SetSortDirection(TSortDirection value);
    // Display position, 0 = leftmost.
    int Order() const { return FOrder; }
    void SetOrder(int value);
    bool Visible() const { return FVisible; }
    void SetVisible(bool value);
    TEllipsisStyle EllipsisStyle() const { return FEllipsisStyle; }
    void SetEllipsisStyle(TEllipsisStyle value);
    QString Caption() const { return FCaption; }
    void SetCaption(const QString& value);
    Qt::Alignment Alignment() const { return FAlignment; }
    void SetAlignment(Qt::Alignment value);
    // Width limits in pixels; 0 = no limit.
    int MinWidth() const { return FMinWidth; }
    void SetMinWidth(int value) { FMinWidth = value; }
    int MaxWidth() const { return FMaxWidth; }
    void SetMaxWidth(int value) { FMaxWidth = value; }
    // The requested width when it is at least MinWidth and 0, capped at
    // MaxWidth when that is set; otherwise MinWidth.
    int Width() const { return FWidth; }
    void SetWidth(int value);
    // Mark only the runs that match the search text, or the whole cell text.
    bool PartialTextHighlight() const { return FPartialTextHighlight; }
    void SetPartialTextHighlight(bool value);

private:
    friend class TOvListColumns;

    void Changed();

    TOvListColumns* FCollection;
    int FIndex;
    bool FCanSort = true;
    bool FCanHide = true;
    bool FSorted = false;
    int FOrder;
    bool FVisible = true;
    TSortDirection FSortDirection = TSortDirection::sdAscending;
    TEllipsisStyle FEllipsisStyle = TEllipsisStyle::esEndEllipsis;
    QString FCaption;
    Qt::Alignment FAlignment = Qt::AlignLeft;
    int FMaxWidth = 0;
    int FMinWidth = 0;
    int FWidth = 100;
    bool FPartialTextHighlight = true;
};

using TSortDirection = TOvListColumn::TSortDirection;

class TOvListColumns : public QObject
{
    Q_OBJECT
public:
    explicit TOvListColumns(IOvListColumnsOwner* owner, QObject* parent = nullptr);

    int Count() const { return int(FItems.size()); }
    TOvListColumn* Item(int index) const { return FItems.value(index); }
    const QList<TOvListColumn*>& Items() const { return FItems; }
    // A new column at the end, visible, its order its position.
    TOvListColumn* Add();
    void Clear();

    // Changes between these calls rebuild the control's columns once, at the end.
    void BeginUpdate();
    void EndUpdate();
    bool Updating() const { return FUpdateCount > 0; }

    // All columns by display order (ties by index).
    QList<TOvListColumn*> ByDisplayOrder() const;
    // The index-th visible column in display order; null when there is none.
    TOvListColumn* GetVisibleColumns(int index) const;
    int VisibleCount() const;
    TOvListColumn* GetColumnsByOrder(int order) const;
    // The first column, in collection order, marked sorted.
    TOvListColumn* SortedColumn() const;

    // Moves a column to display position newOrder (>= 0); the others close up.
    void SetColumnOrder(TOvListColumn* column, int newOrder);
    // Every column back at the position of its index.
    void SetOriginalColumnOrder();
    // Marks the column's sort state; sorting one column unsorts all others.
    void SetColumnSorted(TOvListColumn* column, bool sorted, TSortDirection direction);
    // The header click rule: unsorted becomes sorted, ascending turns
    // descending, descending turns ascending (or unsorted with allowNoSort).
    void ToggleSort(TOvListColumn* column, bool allowNoSort);
    // Takes the display order of the visible columns from the header after
    // the user dragged one; hidden columns keep their orders.
    void TakeVisibleOrder(const QList<TOvListColumn*>& visibleInDisplayOrder);
    // Unless allowNoSort, a list with no sorted column gets its leftmost
    // visible sortable column sorted ascending (a stored layout may have none).
    void EnsureOneSorted(bool allowNoSort);

private:
    friend class TOvListColumn;

    void RequestReCreate();
    void RequestSort(TOvListColumn* column);
    void RequestUpdate(TOvListColumn* column);
    void Renumber();

    IOvListColumnsOwner* FOwner;
    QList<TOvListColumn*> FItems;
    int FUpdateCount = 0;
    // A rebuild was requested while the collection was being updated.
    bool FNeedToReCreateColumns = false;
};
