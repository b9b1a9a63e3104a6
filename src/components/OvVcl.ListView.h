#pragma once
// TOvListView: a virtual report list. It holds no data, only a row count, and
// asks its owner for the texts of a row (OnData) when it paints the row or
// hands the row out as an item. Its own column model (TOvListColumns) decides
// which columns show, in which order, which one is sorted and how cell texts
// are shortened; every row is painted by the control, with every occurrence of
// HighlightText marked in every cell.
//
// The control never sorts: a click on a sortable header changes the sort
// state of the columns and fires OnColumnSorted, where the owner puts its data
// in the new order (TListViewPresenter does), then OnColumnClick.
//
// Selection: rows are selected whole, several at a time. A change of one row
// fires OnSelectItem; a change of several rows at once (Shift+click, select
// all, clearing a selection of several rows) fires OnDataStateChange.
// Selected rows get a light fill (grey while the control has no focus), so
// the text colours OnCustomItemFontStyle chooses stay readable on them.
//
// Typical use: create the control, hand it to a TListViewPresenter (which
// fills rows and re-sorts), set the other events, call InitColumns, then the
// presenter's Reload whenever the data changes.

#include <QColor>
#include <QList>
#include <QMenu>
#include <QPointer>
#include <QStringList>
#include <QTreeView>

#include <functional>

#include "OvVcl.ListColumns.h"

class TOvListView;
class TOvListModel;
class TOvListHeader;

// The one reusable item: filled by OnData for the row asked for. The same
// object is handed out for every row, so a pointer to it is valid only until
// the next item access.
class TOvListItem
{
public:
    explicit TOvListItem(TOvListView* owner) : FOwnerListView(owner) {}

    TOvListView* OwnerListView() const { return FOwnerListView; }
    int Index() const { return FIndex; }
    // One text per column, by column index (hidden columns included).
    QStringList& Strings() { return FStrings; }
    const QStringList& Strings() const { return FStrings; }
    QString String(int column) const { return FStrings.value(column); }
    // Free for the owner; OnData sets it.
    void* Data() const { return FData; }
    void SetData(void* data) { FData = data; }

    bool Selected() const;
    void SetSelected(bool value);
    bool Focused() const;
    void SetFocused(bool value);

private:
    friend class TOvListView;
    void Reset(int index);

    TOvListView* FOwnerListView;
    int FIndex = -1;
    QStringList FStrings;
    void* FData = nullptr;
};

class TOvListItems
{
public:
    explicit TOvListItems(TOvListView* owner) : FOwner(owner) {}

    int Count() const { return FCount; }
    // Replaces the rows: every row is asked for again, the selection is
    // cleared, the scroll position kept where it still exists.
    void SetCount(int value);
    // The reusable item filled for row index; null outside the rows.
    TOvListItem* Item(int index) const;

private:
    friend class TOvListView;

    TOvListView* FOwner;
    int FCount = 0;
};

// How OnCustomItemFontStyle wants a cell drawn. The defaults: the control's
// colour, transparent, window-text colour, no style.
struct TOvItemFontStyle
{
    QColor BackColor;
    bool Transparent = true; // false: the text's background in BackColor
    QColor TextColor;
    bool Bold = false;
    bool Italic = false;
    bool Underline = false;
    bool StrikeOut = false;
};

class TOvListView : public QTreeView, private IOvListColumnsOwner
{
    Q_OBJECT
public:
    explicit TOvListView(QWidget* parent = nullptr);
    ~TOvListView() override;

    TOvListColumns& Columns() { return *FColumns; }
    const TOvListColumns& Columns() const { return *FColumns; }
    TOvListItems& Items() { return FItems; }
    const TOvListItems& Items() const { return FItems; }

    // Row height in pixels (default 16).
    int RowHeight() const { return FRowHeight; }
    void SetRowHeight(int value);
    // Marked in every cell where it occurs; empty marks nothing.
    QString HighlightText() const { return FHighlightText; }
    void SetHighlightText(const QString& value);
    QColor HighlightColor() const { return FHighlightColor; }
    void SetHighlightColor(const QColor& value);
    // Without HeaderPopupMenu, a right-click on the header shows one check
    // item per column for hiding and showing it.
    bool ShowColumnsMenu() const { return FShowColumnsMenu; }
    void SetShowColumnsMenu(bool value) { FShowColumnsMenu = value; }
    QMenu* HeaderPopupMenu() const { return FHeaderPopupMenu; }
    void SetHeaderPopupMenu(QMenu* menu) { FHeaderPopupMenu = menu; }
    // Shown on a right-click on the rows; not owned.
    QMenu* PopupMenu() const { return FPopupMenu; }
    void SetPopupMenu(QMenu* menu) { FPopupMenu = menu; }
    // Whether a third header click leaves the list unsorted (default false).
    bool AllowNoSort() const { return FAllowNoSort; }
    void SetAllowNoSort(bool value) { FAllowNoSort = value; }

    // The item of the first selected row; null when nothing is selected.
    TOvListItem* Selected() const;
    // Selected rows in ascending order; empty when nothing is selected.
    QList<int> GetSelectedItemIndices() const;
    int GetSelectedCount() const;
    bool IsItemSelected(int index) const;
    int FocusedIndex() const;

    TOvListColumn* GetVisibleColumns(int index) const { return FColumns->GetVisibleColumns(index); }
    TOvListColumn* GetColumnsByOrder(int order) const { return FColumns->GetColumnsByOrder(order); }
    // The column at x of a point in the rows' coordinates (viewport); null
    // right of the last column or when the header is hidden.
    TOvListColumn* GetColumnAt(const QPoint& point) const;
    // The row at the height of a point in the rows' coordinates, whatever
    // its x; -1 below the last row.
    int GetItemIndexAt(const QPoint& point) const;

    void ReCreateColumns() override;
    // ReCreateColumns once control returns to the event loop.
    void ReCreateColumnsAsync();
    void SetColumnOrder(TOvListColumn* column, int newOrder);
    void SetOriginalColumnOrder();
    // Marks the sort state (one sorted column), sets the header arrows, fires
    // OnColumnSorted and scrolls the first selected row into view.
    void SetColumnSorted(TOvListColumn* column, bool sorted, TSortDirection direction);
    void SetColumnWidth(TOvListColumn* column, int width);

    void SelectAll();
    void ClearSelection();
    // Selects exactly these rows (ascending, without repeats), in one step.
    void SelectItems(const QList<int>& indices);
    void SetItemSelected(int index, bool selected);
    // Moves the focus rectangle (the keyboard position) to a row.
    void SetItemFocused(int index);
    // Scrolls until the row is shown whole.
    void ScrollIntoView(int index);
    bool Focused() const { return hasFocus(); }

    // Events. Each is optional.
    std::function<void(TOvListView* sender, TOvListItem* item)> OnData;
    std::function<void(TOvListView* sender, TOvListColumn* column)> OnColumnClick;
    std::function<void(TOvListView* sender, TOvListColumn* column)> OnColumnSorted;
    std::function<void(TOvListView* sender, TOvListColumn* column)> OnColumnResized;
    std::function<void(TOvListView* sender, TOvListColumn* column)> OnColumnDragged;
    // A column was shown or hidden from the header menu.
    std::function<void(TOvListView* sender, TOvListColumn* column)> OnColumnShow;
    // A divider double-click; set handled to keep the control from sizing
    // the column to its widest text.
    std::function<void(TOvListView* sender, TOvListColumn* column, bool& handled)>
        OnColumnAutosized;
    std::function<void(TOvListView* sender, TOvListItem* item, bool selected)> OnSelectItem;
    std::function<void(TOvListView* sender, int fromIndex, int toIndex)> OnDataStateChange;
    // The row and column under the mouse, each null when there is none.
    std::function<void(TOvListView* sender, TOvListItem* item, TOvListColumn* column)> OnDblClick;
    std::function<void(TOvListView* sender, int itemIndex, TOvListColumn* column,
                       Qt::KeyboardModifiers shift)>
        OnCellMouseEnter;
    std::function<void(TOvListView* sender, int itemIndex, TOvListColumn* column,
                       Qt::KeyboardModifiers shift)>
        OnCellMouseExit;
    std::function<void(TOvListView* sender, TOvListItem* item, TOvListColumn* column,
                       TOvItemFontStyle& style)>
        OnCustomItemFontStyle;
    // Return true when the key was handled; the control then ignores it.
    std::function<bool(TOvListView* sender, QKeyEvent* event)> OnKeyDown;
    std::function<void(TOvListView* sender)> OnEnter;
    // The user started dragging selected rows: start a QDrag here.
    std::function<void(TOvListView* sender)> OnStartDrag;
    // A drag moves over the rows: accept or ignore the event.
    std::function<void(TOvListView* sender, QDragMoveEvent* event)> OnDragOver;
    std::function<void(TOvListView* sender, QDropEvent* event)> OnDragDrop;

protected:
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyboardSearch(const QString& search) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void startDrag(Qt::DropActions supportedActions) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dragMoveEvent(QDragMoveEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
    void scrollContentsBy(int dx, int dy) override;

private:
    friend class TOvListItems;
    friend class TOvListItem;
    friend class TOvListModel;

    void ApplyColumnSort(TOvListColumn* column) override;
    void UpdateColumn(TOvListColumn* column) override;

    TOvListItem* FillItem(int index) const;
    void ResetRows(int count);
    void SetHeaderArrows();
    void HeaderClicked(int logicalIndex);
    void HeaderMoved();
    void HeaderResized(int logicalIndex, int newSize);
    void HeaderDividerDoubleClicked(int logicalIndex);
    void ShowHeaderMenu(const QPoint& pos);
    void AutosizeColumn(TOvListColumn* column);
    void SetHover(int itemIndex, TOvListColumn* column, Qt::KeyboardModifiers modifiers);
    void PaintRowBackground(QPainter* painter, const QRect& rect, int row) const;
    TOvItemFontStyle CellStyle(TOvListItem* item, TOvListColumn* column) const;
    void PaintCell(QPainter* painter, TOvListItem* item, TOvListColumn* column,
                   const QRect& cell) const;
    // Marks the search text's runs (partial) or the whole text on the line.
    void PaintHighlight(QPainter* painter, const QFont& font, const QString& shown, bool partial,
                        const QRect& textLine, const QRect& textExtent) const;
    QModelIndex RowIndex(int row) const;

    TOvListColumns* FColumns;
    TOvListModel* FModel;
    TOvListHeader* FHeader;
    TOvListItems FItems;
    TOvListItem* FOwnerDataItem;
    QMenu* FDefaultHeaderMenu;
    QPointer<QMenu> FHeaderPopupMenu;
    QPointer<QMenu> FPopupMenu;
    int FRowHeight = 16;
    QString FHighlightText;
    QColor FHighlightColor = QColor(255, 255, 0);
    bool FShowColumnsMenu = true;
    bool FAllowNoSort = false;
    int FLastHoverItemIndex = -1;
    int FLastHoverColumnIndex = -1;
    bool FReCreatingColumns = false;
    bool FReCreateColumnsPosted = false;
    int FDraggedColumnIndex = -1;
};
