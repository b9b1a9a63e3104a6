#pragma once
// A token's change history as a grid: one block per entry with its date and
// a row per recorded field (caption, old value, arrow, new value). Passwords
// stay masked until their cell is selected, web addresses are links, long
// notes are cut to five lines, and a selected cell can be copied.

#include <QDateTime>
#include <QPoint>
#include <QSet>
#include <QWidget>

#include <memory>

#include "Lockwyn.Interfaces.h"

class QMenu;
class QModelIndex;
class QTableWidget;
class QTableWidgetItem;

class TfrTokenHistoryDisplay : public QWidget, public ITokenHistoryDisplay
{
    Q_OBJECT
public:
    // What a cell shows; a cell may carry several marks.
    enum TCellMark
    {
        cmEntryHeader = 0x01, // the row starts an entry
        cmPassword = 0x02,    // masked unless selected
        cmEmptyValue = 0x04,  // shows "(empty)"
        cmLink = 0x08,        // a web address: blue, underlined, opens on double-click
        cmShortened = 0x10,   // drawn cut; hovering shows the whole text
        cmMultiLine = 0x20,   // word-wrapped, at most five lines
    };

    explicit TfrTokenHistoryDisplay(QWidget* parent = nullptr);

    // ITokenHistoryDisplay
    std::shared_ptr<Lockwyn::ITokenHistory> GetTokenHistory() override { return FTokenHistory; }
    bool GetHidePasswords() const override { return FHidePasswords; }
    void SetTokenHistory(const std::shared_ptr<Lockwyn::ITokenHistory>& history) override;
    void SetHidePasswords(bool hide) override { FHidePasswords = hide; }
    void SetInitialState() override;
    void ClearHistory() override;
    void FocusGrid() override;

    // The marks of a cell, as drawn last.
    int CellMarks(int column, int row) const;
    // The text a cell shows now.
    QString CellDisplayText(int column, int row) const;

    // Used by the grid.
    bool IsSelectableCell(const QModelIndex& index) const;
    QString DisplayText(const QModelIndex& index, bool selected) const;
    void SetShortened(const QModelIndex& index, bool shortened) const;
    void CopySelectedCell();
    void HoverAt(const QPoint& position, const QPoint& globalPosition);

protected:
    void changeEvent(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct TFieldRow;

    void CreateControls();
    void LocalizerUpdate();
    void Rebuild();
    void Layout();
    void ShowInitialState();
    void ShowHistory();
    void AddFieldRow(const TFieldRow& field, Lockwyn::TTokenHistoryEntryKind kind);
    void SetCell(int column, int row, const QString& text, int marks = 0);
    void FitMultiLineRow(int row, const QList<int>& columns);
    void FitMultiLineRows();
    void AppendRow();
    void SelectFirstValue();
    void OpenLink(const QModelIndex& index);
    void ShowContextMenu(const QPoint& position);
    QString DateTimeText(const QDateTime& dateTime) const;

    std::shared_ptr<Lockwyn::ITokenHistory> FTokenHistory;
    bool FHidePasswords = true;
    bool FHasInitialState = false;
    QDateTime FInitializationTimestamp = QDateTime::currentDateTime();
    QPoint FLastHoverCell{-1, -1};
    // Cells whose drawn text was cut, found while drawing.
    mutable QSet<QPoint> FShortenedCells;

    QTableWidget* sgHistory = nullptr;
    QMenu* pmHistory = nullptr;
};
