#pragma once
// What the program's dialogs share: their header, the OK/Cancel row at the
// bottom, the way they refuse input, and the pages of the editing dialogs.

#include <QString>

#include <QList>
#include <QStringList>

#include <functional>
#include <memory>

class QDialog;
class QPushButton;
class QStackedLayout;
class QWidget;
class TSectionBar;
class TSectionBarPanelSwitcher;

// Toasts about input stay this long.
inline constexpr int InputToastInterval = 2000;

class TfrDialogHeader;

// ShowModal of a dialog view: mrOk when it was accepted, else mrCancel.
int ShowDialogModal(QDialog* dialog);

// The dark header of an editing dialog: no "Settings" link; "Help" opens the
// main window's help menu.
TfrDialogHeader* CreateDialogHeader(QDialog* dialog);

// Puts the rows (header, content, buttons) below each other, edge to edge. A
// fixed dialog is exactly as large as they need; a resizable one gives the
// rows between the first and the last its free height.
void StackDialogRows(QDialog* dialog, const QList<QWidget*>& rows, bool fixedSize = true);

struct TDialogButtonBar
{
    QWidget* Bar = nullptr;
    QPushButton* OK = nullptr;     // the default button; its click is the dialog's to handle
    QPushButton* Cancel = nullptr; // rejects the dialog
};

// "flpnlDlgButtons" with "btnOK" and "btnCancel", right-aligned.
TDialogButtonBar CreateDialogButtonBar(QDialog* dialog);

// Shows the message as a toast over the dialog, focuses the faulty field and
// returns false, so a check can `return RefuseInput(...)`.
bool RefuseInput(QWidget* dialog, const QString& message, const std::function<void()>& focus);

// A title as it appears inside a message: on one line and cut to a length
// that fits a toast.
QString TitleForMessage(const QString& title);

// The pages of a dialog: a section bar on the left and, beside it, the page
// of the checked section. The body is as large as the largest page.
class TDialogPages
{
public:
    explicit TDialogPages(QWidget* parent);
    ~TDialogPages();
    TDialogPages(const TDialogPages&) = delete;
    TDialogPages& operator=(const TDialogPages&) = delete;

    // What goes between the header and the buttons.
    QWidget* Body() const { return FBody; }
    // A new, empty page and its section.
    QWidget* AddPage(const QString& panelName, const QString& sectionName);
    void SetCaptions(const QStringList& captions);
    void SetMinimumPageWidth(int width);
    void Activate(int index);
    int ActiveIndex() const;
    // Called with the index of each page that becomes active.
    void SetOnActivate(const std::function<void(int)>& handler);

private:
    QWidget* FBody = nullptr;
    TSectionBar* FBar = nullptr;
    QStackedLayout* FPages = nullptr;
    std::unique_ptr<TSectionBarPanelSwitcher> FSwitcher;
};

class IMainView;

// An editing dialog's changed object must be selectable in the views: an
// active search is cleared first.
void ClearActiveSearch(IMainView* main);

class QLabel;
class QLineEdit;
class QVBoxLayout;

// The layout of a dialog page: rows from top to bottom.
QVBoxLayout* CreatePageLayout(QWidget* page);
// A row of a field with its label above it; a stretch gives the row the
// page's free height.
void AddLabelledRow(QVBoxLayout* page, QLabel* label, QWidget* field, int stretch = 0);

// A title field: one line of text; `changed` runs on every change.
QLineEdit* CreateTitleEdit(QWidget* parent, const std::function<void()>& changed);
