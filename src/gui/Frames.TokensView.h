#pragma once
// The token list in the middle of the main window: the tokens of the group
// selected in the tree, or the search results, in a virtual list whose
// columns the user arranges. Copies user names and passwords through the
// clipboard cleaner, deletes the selected tokens after asking, and
// duplicates them by a copy-drag inside the list.

#include <QWidget>

#include <memory>

#include "Lockwyn.Interfaces.h"

class QDragMoveEvent;
class QDropEvent;
class QKeyEvent;
class TLockwynDragObject;
class TOvListColumn;
class TOvListItem;
class TOvListView;
class TTokenListPresenter;
struct TOvItemFontStyle;

class TfrTokensView : public QWidget, public ITokenListView, public IUIStatePersistent
{
    Q_OBJECT
public:
    explicit TfrTokensView(QWidget* parent = nullptr);
    ~TfrTokensView() override;

    // IView
    void Show() override { show(); }
    void Hide() override { hide(); }
    // IDependencyView
    void UpdateView() override { Reload(); }
    // ITokenListView
    std::shared_ptr<Lockwyn::IToken> GetSelectedToken() override;
    std::optional<Lockwyn::ITokenList> GetSelectedTokens() override;
    std::optional<Lockwyn::ITokenList> GetSelectedFilteredTokens() override;
    int GetSelectedCount() override;
    bool IsFocused() override;
    QMenu* GetPopupMenu() override;
    void SelectToken(const std::shared_ptr<Lockwyn::IToken>& token) override;
    void SetPopupMenu(QMenu* menu) override;
    void SelectTokens(const Lockwyn::ITokenList& tokens) override;
    void AddToken() override;
    void EditSelectedToken() override;
    void DeleteSelectedTokens() override;
    void Reload() override;
    void SetFocus() override;
    void SelectAll() override;
    void ClearSelectedFilteredTokens() override;
    void CopySelectedUserName() override { CopyUserName(GetSelectedToken()); }
    void CopyUserName(const std::shared_ptr<Lockwyn::IToken>& token) override;
    void CopySelectedPassword() override { CopyPassword(GetSelectedToken()); }
    void CopyPassword(const std::shared_ptr<Lockwyn::IToken>& token) override;
    // IUIStatePersistent
    void LoadUIState() override;
    void SaveUIState() override;

    // The drag of the selected tokens, captioned with the title of the first
    // or their number; null when no token is selected.
    std::unique_ptr<TLockwynDragObject> CreateDragObject();

protected:
    void changeEvent(QEvent* event) override;

private:
    IMainView* MainView() const;
    void LocalizerUpdate();
    void SelectionChanged(bool rowSelected);
    void RememberFilteredSelection();
    void CustomItemFontStyle(TOvListItem* item, TOvListColumn* column, TOvItemFontStyle& style);
    void DoubleClicked(TOvListItem* item, TOvListColumn* column);
    bool KeyPressed(QKeyEvent* event);
    void StartDrag();
    bool AcceptsDrop(const QDropEvent* event) const;
    void DragOver(QDragMoveEvent* event);
    void Dropped(QDropEvent* event);
    void CopyTokens(const Lockwyn::ITokenList& tokens);
    void CopyToClipboard(const QString& text, const QString& copiedMessage);
    void CopyDirectly(const QString& text, const QString& copiedMessage);
    void ShowToast(const QString& message, int interval);

    TOvListView* lvTokens;
    std::unique_ptr<TTokenListPresenter> Presenter;
    QMenu* FItemsPopupMenu = nullptr;
};
