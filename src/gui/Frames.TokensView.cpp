#include "Frames.TokensView.h"

#include <QClipboard>
#include <QDropEvent>
#include <QEvent>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QVBoxLayout>

#include "Components.ClipboardAutoCleaner.h"
#include "Components.DpiScale.h"
#include "Components.MessageDialog.h"
#include "Components.URLOpenUtil.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Colors.h"
#include "Lockwyn.DragObject.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "Lockwyn.TokenListPresenter.h"
#include "Orvanta.Types.Url.h"
#include "OvToast.h"
#include "OvVcl.ListView.h"

using namespace Lockwyn;

namespace {

constexpr int ToastInterval = 2000;
constexpr int AutoCleanToastInterval = 4000;
constexpr int RowHeight = 25;

bool InExpiredGroup(IToken& token)
{
    const auto group = token.GetGroup();
    return group && (group->GetExpired() || group->GetTokensExpired());
}

} // namespace

TfrTokensView::TfrTokensView(QWidget* parent)
    : QWidget(parent), lvTokens(new TOvListView(this)),
      Presenter(std::make_unique<TTokenListPresenter>(lvTokens))
{
    setObjectName(QStringLiteral("frTokensView"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(lvTokens);

    lvTokens->setObjectName(QStringLiteral("lvTokens"));
    lvTokens->setFrameShape(QFrame::NoFrame);
    lvTokens->SetRowHeight(ScaleByDpi(this, RowHeight));

    lvTokens->OnColumnClick = [this](TOvListView*, TOvListColumn*) {
        SaveUIState();
    };
    lvTokens->OnColumnDragged = [this](TOvListView*, TOvListColumn*) {
        Presenter->Reload();
        lvTokens->viewport()->update();
        SaveUIState();
    };
    lvTokens->OnSelectItem = [this](TOvListView*, TOvListItem*, bool selected) {
        SelectionChanged(selected);
    };
    lvTokens->OnDataStateChange = [this](TOvListView*, int, int) {
        RememberFilteredSelection();
    };
    lvTokens->OnEnter = [this](TOvListView*) {
        if (IInfoPanel* info = MainView() ? MainView()->GetInfoPanel() : nullptr)
            info->SetToken(GetSelectedToken());
    };
    lvTokens->OnDblClick = [this](TOvListView*, TOvListItem* item, TOvListColumn* column) {
        DoubleClicked(item, column);
    };
    lvTokens->OnKeyDown = [this](TOvListView*, QKeyEvent* event) {
        return KeyPressed(event);
    };
    lvTokens->OnStartDrag = [this](TOvListView*) {
        StartDrag();
    };
    lvTokens->OnDragOver = [this](TOvListView*, QDragMoveEvent* event) {
        DragOver(event);
    };
    lvTokens->OnDragDrop = [this](TOvListView*, QDropEvent* event) {
        Dropped(event);
    };
    lvTokens->OnCustomItemFontStyle = [this](TOvListView*, TOvListItem* item, TOvListColumn* column,
                                             TOvItemFontStyle& style) {
        CustomItemFontStyle(item, column, style);
    };

    // The frame is built with the main window, which cannot answer yet: the
    // first columns come without the reload a new sort order asks for.
    auto sorted = std::move(lvTokens->OnColumnSorted);
    Presenter->InitColumns();
    lvTokens->OnColumnSorted = std::move(sorted);
    LocalizerUpdate();
}

TfrTokensView::~TfrTokensView()
{
    // The presenter unhooks itself from the control, so it goes first.
    Presenter.reset();
}

IMainView* TfrTokensView::MainView() const
{
    return LockwynApp().GetMainView();
}

void TfrTokensView::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

void TfrTokensView::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const QString captions[] = {strings.FTokenTitleCaption, strings.FTokenUserNameCaption,
                                strings.FTokenPasswordCaption, strings.FTokenURLCaption,
                                strings.FTokenNotesCaption};
    TOvListColumns& columns = lvTokens->Columns();
    for (int i = 0; i < columns.Count() && i < TTokenListPresenter::tcCount; ++i)
        columns.Item(i)->SetCaption(captions[i]);
}

// ----- ITokenListView ------------------------------------------------------

std::shared_ptr<IToken> TfrTokensView::GetSelectedToken()
{
    return Presenter->GetSelectedItem();
}

std::optional<ITokenList> TfrTokensView::GetSelectedTokens()
{
    ITokenList tokens = Presenter->GetSelectedItems();
    if (tokens.isEmpty())
        return std::nullopt;
    return tokens;
}

std::optional<ITokenList> TfrTokensView::GetSelectedFilteredTokens()
{
    ITokenList tokens = Presenter->GetSelectedFilteredItems();
    if (tokens.isEmpty())
        return std::nullopt;
    return tokens;
}

int TfrTokensView::GetSelectedCount()
{
    return lvTokens->GetSelectedCount();
}

bool TfrTokensView::IsFocused()
{
    return lvTokens->Focused();
}

QMenu* TfrTokensView::GetPopupMenu()
{
    return lvTokens->PopupMenu();
}

void TfrTokensView::SetPopupMenu(QMenu* menu)
{
    FItemsPopupMenu = menu;
    lvTokens->SetPopupMenu(menu);
}

void TfrTokensView::SelectToken(const std::shared_ptr<IToken>& token)
{
    lvTokens->ClearSelection();
    if (!token)
        return;
    if (ITokenGroupTreeView* tree = MainView() ? MainView()->GetTokenGroupTreeView() : nullptr)
        tree->SelectGroup(token->GetGroup());
    Presenter->SelectItems({token}, true);
}

void TfrTokensView::SelectTokens(const ITokenList& tokens)
{
    lvTokens->ClearSelection();
    IMainView* main = MainView();
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    // Without tokens the tree keeps its group (a restored selection whose
    // tokens are all gone still shows their group).
    const auto group = GetMostReferencedParentGroup(tokens);
    if (tree && group && !main->IsSearchActive())
        tree->SelectGroup(group);
    Presenter->SelectItems(tokens, false);
}

void TfrTokensView::Reload()
{
    Presenter->Reload();
}

void TfrTokensView::SetFocus()
{
    if (isVisible() && lvTokens->isVisible())
        lvTokens->setFocus();
}

void TfrTokensView::SelectAll()
{
    lvTokens->SelectAll();
}

void TfrTokensView::ClearSelectedFilteredTokens()
{
    Presenter->ClearSelectedFilteredItems();
}

// ----- selection -------------------------------------------------------------

void TfrTokensView::SelectionChanged(bool rowSelected)
{
    if (rowSelected) {
        if (IInfoPanel* info = MainView() ? MainView()->GetInfoPanel() : nullptr)
            info->SetToken(GetSelectedToken());
    }
    RememberFilteredSelection();
}

void TfrTokensView::RememberFilteredSelection()
{
    IMainView* main = MainView();
    Presenter->RememberFilteredSelection(main && main->IsSearchActive());
}

// ----- commands --------------------------------------------------------------

// The token editor comes with its dialog; until then the commands say so.
void TfrTokensView::AddToken()
{
    if (!LockwynApp().RequestEditMode())
        return;
    ShowToast(LocalizedStrings().FToastTokenEditorNotAvailable, ToastInterval);
}

void TfrTokensView::EditSelectedToken()
{
    if (!GetSelectedToken() || !LockwynApp().RequestEditMode())
        return;
    ShowToast(LocalizedStrings().FToastTokenEditorNotAvailable, ToastInterval);
}

void TfrTokensView::DeleteSelectedTokens()
{
    const auto first = GetSelectedToken();
    ILockwynApp& app = LockwynApp();
    if (!first || !app.RequestEditMode())
        return;
    const TIdleTimerSuspension suspended(app);
    const TLocalizedStrings& strings = LocalizedStrings();
    const int count = GetSelectedCount();
    if (GUISettings().DeleteConfirmations()) {
        const QString question = count < 2
                                     ? Format(strings.FDeleteTokenDlgMessage, first->GetTitle())
                                     : Format(strings.FDeleteMultipleTokensDlgMessage, count);
        if (TMessageDialog::Show(question, TMsgDlgType::mtConfirmation,
                                 TMessageDialog::TDialogButtons::dbYesNo,
                                 0) != TMessageDialog::idYes)
            return;
    }
    const auto tokens = GetSelectedTokens();
    if (!tokens)
        return;
    const auto operation = app.GetTokenStorage()->CreateDeleteTokensOperation(*tokens);
    EditingProtocol::Execute(app, operation, [this] {
        IMainView* main = MainView();
        if (main)
            main->UpdateSearchFilter();
        if (ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr)
            tree->UpdateView();
        Reload();
        // The panel may show a token that is gone now.
        if (IInfoPanel* info = main ? main->GetInfoPanel() : nullptr)
            info->UpdateView();
    });
}

// ----- clipboard ---------------------------------------------------------------

void TfrTokensView::CopyUserName(const std::shared_ptr<IToken>& token)
{
    if (token)
        CopyToClipboard(token->GetUserName(), LocalizedStrings().FToastUserNameCopied);
}

void TfrTokensView::CopyPassword(const std::shared_ptr<IToken>& token)
{
    if (token)
        CopyToClipboard(token->GetPassword(), LocalizedStrings().FToastPasswordCopied);
}

// Through the cleaner: marked secret, and taken off again after the delay
// when auto-clean is on.
void TfrTokensView::CopyToClipboard(const QString& text, const QString& copiedMessage)
{
    const TLockwynGUISettings& settings = GUISettings();
    if (!settings.AutoCleanClipboard()) {
        ClipboardAutoCleaner().CopyToClipboard(text);
        ShowToast(copiedMessage, ToastInterval);
        return;
    }
    const int seconds = settings.AutoCleanClipboardSeconds();
    ClipboardAutoCleaner().CopyToClipboard(text, seconds);
    ShowToast(copiedMessage + QStringLiteral("\r\n") +
                  Format(LocalizedStrings().FAutoCleanClipboardMessage, seconds),
              AutoCleanToastInterval);
}

void TfrTokensView::CopyDirectly(const QString& text, const QString& copiedMessage)
{
    QGuiApplication::clipboard()->setText(text);
    ShowToast(copiedMessage, ToastInterval);
}

void TfrTokensView::ShowToast(const QString& message, int interval)
{
    TOvToast::Show(window(), message, interval);
}

// ----- painting ----------------------------------------------------------------

void TfrTokensView::CustomItemFontStyle(TOvListItem* item, TOvListColumn* column,
                                        TOvItemFontStyle& style)
{
    const auto token = Presenter->GetFilteredItem(item->Index());
    if (!token)
        return;
    const bool expired = token->GetExpired();
    const bool inExpiredGroup = !expired && InExpiredGroup(*token);
    const bool masked = TTokenListPresenter::IsMasked(column->Index());
    if (expired) {
        style.TextColor = QColor(clExpiredText);
    } else if (inExpiredGroup) {
        style.TextColor = QColor(clInExpiredGroupText);
    } else if (column->Index() == TTokenListPresenter::tcURL && gUrl.VerifyUrl(token->GetURL())) {
        style.TextColor = QColor(clUrlText);
        style.Underline = true;
    } else {
        style.TextColor = QColor(clNormalText);
    }
    style.StrikeOut = (expired || inExpiredGroup) && !masked;
}

// ----- mouse and keys ----------------------------------------------------------

void TfrTokensView::DoubleClicked(TOvListItem* item, TOvListColumn* column)
{
    if (!item || !column) {
        AddToken();
        return;
    }
    const auto token = GetSelectedToken();
    if (!token)
        return;
    const TLocalizedStrings& strings = LocalizedStrings();
    switch (column->Index()) {
    case TTokenListPresenter::tcTitle:
        CopyDirectly(token->GetTitle(), strings.FToastTitleCopied);
        break;
    case TTokenListPresenter::tcUserName:
        CopyUserName(token);
        break;
    case TTokenListPresenter::tcPassword:
        CopyPassword(token);
        break;
    case TTokenListPresenter::tcURL: {
        const QString url = token->GetURL();
        if (!gUrl.VerifyUrl(url))
            break;
        if (QGuiApplication::keyboardModifiers().testFlag(Qt::ShiftModifier)) {
            if (IMainView* main = MainView())
                main->OpenMainURLAndFill(false);
        } else {
            URLOpenUtil().GoURL(url);
        }
        break;
    }
    case TTokenListPresenter::tcNotes:
        CopyDirectly(token->GetNotes(), strings.FToastNotesCopied);
        break;
    default:
        break;
    }
}

bool TfrTokensView::KeyPressed(QKeyEvent* event)
{
    const Qt::KeyboardModifiers modifiers =
        event->modifiers() & ~Qt::KeypadModifier & ~Qt::GroupSwitchModifier;
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        EditSelectedToken();
        return true;
    case Qt::Key_Insert:
        if (modifiers != Qt::NoModifier)
            return false;
        AddToken();
        return true;
    case Qt::Key_Delete:
        if (modifiers != Qt::NoModifier)
            return false;
        DeleteSelectedTokens();
        return true;
    case Qt::Key_A:
        if (modifiers != Qt::ControlModifier)
            return false;
        SelectAll();
        return true;
    default:
        return false;
    }
}

// ----- drag and drop -----------------------------------------------------------

std::unique_ptr<TLockwynDragObject> TfrTokensView::CreateDragObject()
{
    const auto first = GetSelectedToken();
    if (!first)
        return nullptr;
    const int count = GetSelectedCount();
    auto drag = std::make_unique<TLockwynDragObject>(lvTokens, &lvTokens->font());
    drag->PrepareDragImage(count < 2 ? first->GetTitle()
                                     : Format(LocalizedStrings().FMultipleItemsDragCaption, count));
    return drag;
}

void TfrTokensView::StartDrag()
{
    if (auto drag = CreateDragObject())
        drag.release()->Execute();
}

// Only a copy-drag from this list, into the group the tree shows.
bool TfrTokensView::AcceptsDrop(const QDropEvent* event) const
{
    const TLockwynDragObject* drag = TLockwynDragObject::From(event);
    if (!drag || drag->Control() != lvTokens ||
        TLockwynDragObject::GetDragOperationType(event->modifiers()) !=
            TLockwynDragOperationType::dotCopy)
        return false;
    IMainView* main = MainView();
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    return tree && tree->GetSelectedGroup();
}

void TfrTokensView::DragOver(QDragMoveEvent* event)
{
    if (!AcceptsDrop(event))
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
}

void TfrTokensView::Dropped(QDropEvent* event)
{
    if (!AcceptsDrop(event) || !LockwynApp().RequestEditMode())
        return;
    const auto tokens = GetSelectedTokens();
    if (!tokens)
        return;
    event->setDropAction(Qt::CopyAction);
    event->accept();
    CopyTokens(*tokens);
}

void TfrTokensView::CopyTokens(const ITokenList& tokens)
{
    ILockwynApp& app = LockwynApp();
    ITokenGroupTreeView* tree = MainView()->GetTokenGroupTreeView();
    const auto operation = app.GetTokenStorage()->CreateCopyTokensOperation(
        tokens, tree->GetSelectedGroup(), LocalizedStrings().FTransferTitleCollisionTemplate);
    EditingProtocol::Execute(app, operation, [&] {
        tree->UpdateView();
        Reload();
        SelectToken(operation->GetResult());
    });
}

// ----- UI state ------------------------------------------------------------------

void TfrTokensView::LoadUIState()
{
    if (!GUISettings().TokenListStateSaver()->LoadListViewState(lvTokens)) {
        Presenter->InitColumns();
        LocalizerUpdate();
    }
    if (TOvListColumn* title = lvTokens->Columns().Item(TTokenListPresenter::tcTitle)) {
        title->SetCanHide(false);
        title->SetVisible(true);
    }
}

void TfrTokensView::SaveUIState()
{
    GUISettings().TokenListStateSaver()->SaveListViewState(lvTokens);
}
