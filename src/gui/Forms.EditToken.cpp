#include "Forms.EditToken.h"

#include <QAction>
#include <QActionGroup>
#include <QCheckBox>
#include <QEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.MessageDialog.h"
#include "Components.ReleaseView.h"
#include "Components.SingleLineText.h"
#include "Frames.CustomPropsEditor.h"
#include "Frames.DialogHeader.h"
#include "Frames.ExpirationSettings.h"
#include "Frames.PasswordEditor.h"
#include "Frames.TokenAutoLogin.h"
#include "Frames.TokenGroupSelector.h"
#include "Frames.TokenHistoryDisplay.h"
#include "Lockwyn.App.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;

namespace {

constexpr int PagesWidth = 560;
constexpr int ClearingPause = 100;

IMainView* MainView()
{
    return LockwynApp().GetMainView();
}

// The views show the token and select it.
void ShowToken(const std::shared_ptr<IToken>& token)
{
    IMainView* main = MainView();
    if (!main)
        return;
    ClearActiveSearch(main);
    if (ITokenGroupTreeView* tree = main->GetTokenGroupTreeView())
        tree->UpdateView();
    if (ITokenListView* list = main->GetTokenListView()) {
        list->Reload();
        list->SelectToken(token);
        list->SetFocus();
    }
}

QLineEdit* LineEdit(const char* name, QWidget* parent)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QLatin1String(name));
    edit->setValidator(new TSingleLineValidator(edit));
    return edit;
}

} // namespace

TfEditToken::TfEditToken(QWidget* parent) : QDialog(parent), FPages(this)
{
    setObjectName(QStringLiteral("fEditToken"));
    PrepareDialogWindow(*this);
    CreateControls();
    FPages.SetOnActivate([this](int page) { PageActivated(page); });
    FPages.Activate(pgGeneral);
    LocalizerUpdate();
    UpdateOkButton();
}

TfEditToken::~TfEditToken() = default;

void TfEditToken::CreateControls()
{
    frDialogHeader = CreateDialogHeader(this);
    CreateGeneralPage(FPages.AddPage(QStringLiteral("pnlGeneral"), QStringLiteral("psGeneral")));
    CreateAdditionalPage(
        FPages.AddPage(QStringLiteral("pnlAdditional"), QStringLiteral("psAdditional")));
    QWidget* customProps =
        FPages.AddPage(QStringLiteral("pnlCustomProps"), QStringLiteral("psCustomProps"));
    frCustomPropsEditor = new TfrCustomPropsEditor(customProps);
    CreatePageLayout(customProps)->addWidget(frCustomPropsEditor, 1);
    QWidget* autoLogin =
        FPages.AddPage(QStringLiteral("pnlAutoLogin"), QStringLiteral("psAutoLogin"));
    frTokenAutoLogin = new TfrTokenAutoLogin(autoLogin);
    CreatePageLayout(autoLogin)->addWidget(frTokenAutoLogin, 1);
    CreateHistoryPage(FPages.AddPage(QStringLiteral("pnlHistory"), QStringLiteral("psHistory")));
    FPages.SetMinimumPageWidth(ScaleByDpi(this, PagesWidth));

    const TDialogButtonBar buttons = CreateDialogButtonBar(this);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfEditToken::OkClick);

    tmrGeneratePassword = new QTimer(this);
    tmrGeneratePassword->setSingleShot(true);
    tmrGeneratePassword->setInterval(ClearingPause);
    connect(tmrGeneratePassword, &QTimer::timeout, this,
            &TfEditToken::GenerateWithPredefinedSettings);

    // Notes and history get more room when the dialog is made larger.
    StackDialogRows(this, {frDialogHeader, FPages.Body(), buttons.Bar}, false);
}

void TfEditToken::CreateGeneralPage(QWidget* page)
{
    lblParentGroup = new QLabel(page);
    frTokenGroupSelector = new TfrTokenGroupSelector(page);
    lblTitle = new QLabel(page);
    edtTitle = CreateTitleEdit(page, [this] { UpdateOkButton(); });
    lblUserName = new QLabel(page);
    edtUserName = LineEdit("edtUserName", page);

    // The generate button stands right of the "Show Password Characters"
    // check box, centred on it.
    pnlPassword = new QWidget(page);
    pnlPassword->setObjectName(QStringLiteral("pnlPassword"));
    frPasswordEditor = new TfrPasswordEditor(pnlPassword);
    frPasswordEditor->SetMode(TPasswordEditorMode::pemManualCreate);
    auto* passwordLayout = new QVBoxLayout(pnlPassword);
    passwordLayout->setContentsMargins(0, 0, 0, 0);
    passwordLayout->addWidget(frPasswordEditor);
    btnGeneratePassword = new QToolButton(pnlPassword);
    btnGeneratePassword->setObjectName(QStringLiteral("btnGeneratePassword"));
    btnGeneratePassword->setPopupMode(QToolButton::MenuButtonPopup);
    btnGeneratePassword->setToolButtonStyle(Qt::ToolButtonTextOnly);
    connect(btnGeneratePassword, &QToolButton::clicked, this, &TfEditToken::GeneratePasswordClick);
    pmPasswordGenerator = new QMenu(btnGeneratePassword);
    pmPasswordGenerator->setObjectName(QStringLiteral("pmPasswordGenerator"));
    auto* choices = new QActionGroup(pmPasswordGenerator);
    miOpenPasswordGenerator = pmPasswordGenerator->addAction(QString());
    miOpenPasswordGenerator->setObjectName(QStringLiteral("miOpenPasswordGenerator"));
    miUsePredefinedSettings = pmPasswordGenerator->addAction(QString());
    miUsePredefinedSettings->setObjectName(QStringLiteral("miUsePredefinedSettings"));
    for (QAction* item : {miOpenPasswordGenerator, miUsePredefinedSettings}) {
        item->setCheckable(true);
        choices->addAction(item);
        connect(item, &QAction::triggered, this, &TfEditToken::PasswordGeneratorMenuClick);
    }
    btnGeneratePassword->setMenu(pmPasswordGenerator);
    pnlPassword->installEventFilter(this);

    lblMainURL = new QLabel(page);
    edtMainURL = LineEdit("edtMainURL", page);

    QVBoxLayout* layout = CreatePageLayout(page);
    AddLabelledRow(layout, lblParentGroup, frTokenGroupSelector);
    AddLabelledRow(layout, lblTitle, edtTitle);
    AddLabelledRow(layout, lblUserName, edtUserName);
    layout->addWidget(pnlPassword);
    AddLabelledRow(layout, lblMainURL, edtMainURL);
    layout->addStretch(1);
}

void TfEditToken::CreateAdditionalPage(QWidget* page)
{
    frExpirationSettings = new TfrExpirationSettings(page);
    lblNotes = new QLabel(page);
    edtNotes = new QPlainTextEdit(page);
    edtNotes->setObjectName(QStringLiteral("edtNotes"));
    edtNotes->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    edtNotes->setTabChangesFocus(true);
    QVBoxLayout* layout = CreatePageLayout(page);
    layout->addWidget(frExpirationSettings);
    AddLabelledRow(layout, lblNotes, edtNotes, 1);
}

void TfEditToken::CreateHistoryPage(QWidget* page)
{
    btnClearHistory = new QPushButton(page);
    btnClearHistory->setObjectName(QStringLiteral("btnClearHistory"));
    btnClearHistory->setAutoDefault(false);
    connect(btnClearHistory, &QPushButton::clicked, this, &TfEditToken::ClearHistoryClick);
    frTokenHistoryDisplay = new TfrTokenHistoryDisplay(page);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(btnClearHistory);
    buttons->addStretch(1);
    QVBoxLayout* layout = CreatePageLayout(page);
    layout->addLayout(buttons);
    layout->addWidget(frTokenHistoryDisplay, 1);
}

void TfEditToken::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const bool add = FMode == TEditObjectModalViewMode::eomAddNew;
    setWindowTitle(strings.FAppName);
    frDialogHeader->SetCaption(add ? strings.FAddTokenDlgCaption : strings.FEditTokenDlgCaption);
    btnOK->setText(add ? strings.FAddTokenDlgButtonCaption : strings.FEditTokenDlgButtonCaption);
    btnCancel->setText(tr("Cancel"));
    FPages.SetCaptions(
        {tr("General"), tr("Additional"), tr("User Values"), tr("Auto Login"), tr("History")});
    lblParentGroup->setText(tr("Parent Group:"));
    lblTitle->setText(tr("Title:"));
    lblUserName->setText(tr("User Name:"));
    lblMainURL->setText(tr("URL:"));
    lblNotes->setText(tr("Notes:"));
    edtNotes->setPlaceholderText(strings.FNotesCaption);
    miOpenPasswordGenerator->setText(tr("Open Password Generator"));
    miUsePredefinedSettings->setText(tr("Use Predefined Settings"));
    btnClearHistory->setText(tr("Clear History"));
    UpdateGenerateButton();
}

void TfEditToken::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

IPasswordEditor* TfEditToken::GetPasswordEditor()
{
    return frPasswordEditor;
}

ITokenGroupSelector* TfEditToken::GetTokenGroupSelector()
{
    return frTokenGroupSelector;
}

IExpirationSettings* TfEditToken::GetExpirationSettings()
{
    return frExpirationSettings;
}

IWebFieldsEditView* TfEditToken::GetWebFieldsEditView()
{
    return frTokenAutoLogin->GetWebFieldsEditView();
}

ITokenHistoryDisplay* TfEditToken::GetTokenHistoryDisplay()
{
    return frTokenHistoryDisplay;
}

ICustomPropsEditor* TfEditToken::GetCustomPropsEditor()
{
    return frCustomPropsEditor;
}

void TfEditToken::ActivatePage(TPage page)
{
    FPages.Activate(page);
}

// ---------------------------------------------------------------------------
// Loading

void TfEditToken::SetMode(TEditObjectModalViewMode mode)
{
    FMode = mode;
    if (mode == TEditObjectModalViewMode::eomAddNew)
        LoadNewToken();
    else
        LoadEditedToken();
    btnClearHistory->setEnabled(FEditedToken != nullptr);
    LocalizerUpdate();
}

void TfEditToken::LoadNewToken()
{
    FEditedToken = nullptr;
    IMainView* main = MainView();
    ITokenGroupTreeView* tree = main ? main->GetTokenGroupTreeView() : nullptr;
    auto parent = tree ? tree->GetSelectedGroup() : nullptr;
    if (!parent)
        parent = LockwynApp().GetRootGroup();
    frTokenGroupSelector->SetSelectedGroup(parent);
    edtTitle->clear();
    const TLockwynGUISettings& settings = GUISettings();
    edtUserName->setText(settings.DefaultUserNameEnabled() ? settings.DefaultUserName()
                                                           : QString());
    edtNotes->clear();
    GenerateWithPredefinedSettings();
    frExpirationSettings->SetExpires(settings.AutoExpirationEnabled());
    frExpirationSettings->SetExpirationDate(settings.AutoExpirationEnabled()
                                                ? settings.GetAutoExpirationDate()
                                                : QDateTime::currentDateTime());
    frTokenHistoryDisplay->SetInitialState();
    frTokenHistoryDisplay->SetTokenHistory(nullptr);
    const auto properties = GetLockwyn()->GetObjectFactory()->CreateCustomProperties();
    properties->ApplyTemplate(parent->GetCustomPropertiesTemplate());
    frCustomPropsEditor->SetTokenCustomProperties(properties);
    frTokenAutoLogin->LoadNew(MainURL());
}

void TfEditToken::LoadEditedToken()
{
    IMainView* main = MainView();
    ITokenListView* list = main ? main->GetTokenListView() : nullptr;
    FEditedToken = list ? list->GetSelectedToken() : nullptr;
    if (!FEditedToken)
        return;
    frTokenGroupSelector->SetSelectedGroup(FEditedToken->GetGroup());
    edtTitle->setText(FEditedToken->GetTitle());
    edtUserName->setText(FEditedToken->GetUserName());
    edtMainURL->setText(FEditedToken->GetURL());
    edtNotes->setPlainText(FEditedToken->GetNotes());
    frPasswordEditor->SetPassword(FEditedToken->GetPassword());
    frExpirationSettings->SetExpires(FEditedToken->GetExpires());
    frExpirationSettings->SetExpirationDate(FEditedToken->GetExpirationDate());
    frTokenHistoryDisplay->SetTokenHistory(FEditedToken->GetHistory()->GetCloner()->Clone());
    frCustomPropsEditor->SetTokenCustomProperties(
        FEditedToken->GetCustomProperties()->GetCloner()->Clone());
    frTokenAutoLogin->LoadFromToken(FEditedToken, MainURL());
    FLoadedAutoLogin = frTokenAutoLogin->GetValues();
}

// ---------------------------------------------------------------------------
// Showing

int TfEditToken::ShowModal()
{
    return ShowDialogModal(this);
}

// The passwords go before the dialog does: its deletion may be deferred.
void TfEditToken::ReleaseView()
{
    frPasswordEditor->Clear();
    frTokenHistoryDisplay->SetTokenHistory(nullptr);
    ReleaseDialogView(this);
}

void TfEditToken::LoadUIState()
{
    const TLockwynGUISettings& settings = GUISettings();
    frPasswordEditor->SetShowCharacters(settings.EditTokenDlgShowPasswordChars());
    const bool open = settings.ShowPasswordGeneratorSettingsOnGeneration();
    miOpenPasswordGenerator->setChecked(open);
    miUsePredefinedSettings->setChecked(!open);
    UpdateGenerateButton();
}

void TfEditToken::SaveUIState()
{
    GUISettings().SetEditTokenDlgShowPasswordChars(frPasswordEditor->GetShowCharacters());
}

void TfEditToken::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    LoadUIState();
    TFormPlacementSaver::CenterFormInMainScreen(this);
    if (FPages.ActiveIndex() == pgGeneral)
        edtTitle->setFocus(Qt::OtherFocusReason);
}

void TfEditToken::hideEvent(QHideEvent* event)
{
    SaveUIState();
    QDialog::hideEvent(event);
}

bool TfEditToken::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == pnlPassword &&
        (event->type() == QEvent::Resize || event->type() == QEvent::LayoutRequest))
        PlaceGenerateButton();
    return QDialog::eventFilter(watched, event);
}

void TfEditToken::PlaceGenerateButton()
{
    const auto* check =
        frPasswordEditor->findChild<QCheckBox*>(QStringLiteral("chkShowPasswordChars"));
    const QSize size = btnGeneratePassword->sizeHint();
    // Room below the check box for a button taller than it.
    const int overhang = std::max(0, (size.height() - check->height()) / 2);
    pnlPassword->layout()->setContentsMargins(0, 0, 0, overhang);
    const int centre = check->mapTo(pnlPassword, check->rect().center()).y();
    btnGeneratePassword->setGeometry(pnlPassword->width() - size.width(),
                                     centre - size.height() / 2, size.width(), size.height());
    btnGeneratePassword->raise();
}

void TfEditToken::UpdateGenerateButton()
{
    QString caption = LocalizedStrings().FGeneratePasswordButtonCaption;
    if (GUISettings().ShowPasswordGeneratorSettingsOnGeneration())
        caption += QStringLiteral("...");
    btnGeneratePassword->setText(caption);
    PlaceGenerateButton();
}

void TfEditToken::UpdateOkButton()
{
    btnOK->setEnabled(!Title().trimmed().isEmpty());
}

void TfEditToken::PageActivated(int page)
{
    if (page == pgAutoLogin)
        frTokenAutoLogin->EnterPage(MainURL());
    else if (page == pgHistory)
        frTokenHistoryDisplay->FocusGrid();
}

// ---------------------------------------------------------------------------
// Password generation

void TfEditToken::GeneratePasswordClick()
{
    if (!GUISettings().ShowPasswordGeneratorSettingsOnGeneration()) {
        // The old password disappears first, so the user sees that a new one came.
        if (!frPasswordEditor->GetEmpty()) {
            frPasswordEditor->Clear();
            frPasswordEditor->repaint();
        }
        tmrGeneratePassword->start();
        return;
    }
    IPasswordGeneratorView* generator = LockwynApp().CreatePasswordGeneratorView();
    generator->SetMode(TPasswordGeneratorViewMode::pgvmTokenEditor);
    if (generator->ShowModal() == mrOk) {
        frPasswordEditor->SetPassword(
            generator->GetPasswordGeneratorSettings()->GetPasswordEditor()->GetPassword());
        LoadUIState();
    }
    generator->ReleaseView();
}

void TfEditToken::GenerateWithPredefinedSettings()
{
    frPasswordEditor->SetPassword(GetLockwyn()->GetPasswordGenerator()->GeneratePassword(
        GUISettings().PasswordGeneratorSettings()));
}

void TfEditToken::PasswordGeneratorMenuClick()
{
    GUISettings().SetShowPasswordGeneratorSettingsOnGeneration(
        miOpenPasswordGenerator->isChecked());
    UpdateGenerateButton();
}

void TfEditToken::ClearHistoryClick()
{
    if (!FEditedToken)
        return;
    if (GUISettings().DeleteConfirmations()) {
        const int answer = TMessageDialog::Show(LocalizedStrings().FClearTokenHistoryDlgWarning,
                                                TMsgDlgType::mtWarning,
                                                TMessageDialog::TDialogButtons::dbYesNo, 1);
        if (answer != TMessageDialog::idYes)
            return;
    }
    frTokenHistoryDisplay->ClearHistory();
}

// ---------------------------------------------------------------------------
// OK

QString TfEditToken::Title() const
{
    return SingleLineText(edtTitle->text());
}

QString TfEditToken::UserName() const
{
    return SingleLineText(edtUserName->text());
}

QString TfEditToken::MainURL() const
{
    return SingleLineText(edtMainURL->text());
}

QString TfEditToken::Notes() const
{
    return edtNotes->toPlainText();
}

void TfEditToken::OkClick()
{
    if (Title().trimmed().isEmpty() || !CheckPassword())
        return;
    // A change of the main URL reaches the auto-login settings even when
    // their page was never opened.
    frTokenAutoLogin->EnterPage(MainURL());
    const bool done = FMode == TEditObjectModalViewMode::eomAddNew ? AddToken() : UpdateToken();
    if (done)
        accept();
}

bool TfEditToken::CheckPassword()
{
    if (frPasswordEditor->GetPasswordAndConfirmationIdentical())
        return true;
    FPages.Activate(pgGeneral);
    return RefuseInput(this, LocalizedStrings().FPasswordAndConfirmationDifferent,
                       [this] { frPasswordEditor->Focus(); });
}

bool TfEditToken::TitleIsUnique(const std::shared_ptr<ITokenGroup>& group)
{
    if (group->IsTokenTitleUnique(Title(), FEditedToken))
        return true;
    FPages.Activate(pgGeneral);
    return RefuseInput(this,
                       Format(LocalizedStrings().FTokenTitleIsNotUnique, TitleForMessage(Title()),
                              TitleForMessage(group->GetTitle())),
                       [this] { edtTitle->setFocus(Qt::OtherFocusReason); });
}

bool TfEditToken::AddToken()
{
    const auto group = frTokenGroupSelector->GetSelectedGroup();
    if (!TitleIsUnique(group))
        return false;
    const auto operation = group->CreateAddTokenOperation(
        Title(), UserName(), frPasswordEditor->GetPassword(), MainURL(), Notes(),
        frExpirationSettings->GetExpires(), frExpirationSettings->GetExpirationDate(),
        frTokenAutoLogin->GetUseManualSettings(), frCustomPropsEditor->GetTokenCustomProperties(),
        frTokenAutoLogin->CreateAutoLoginInfo());
    EditingProtocol::Execute(LockwynApp(), operation, [&] { ShowToken(operation->GetResult()); });
    return true;
}

bool TfEditToken::UpdateToken()
{
    if (!FEditedToken)
        return true;
    const auto source = FEditedToken->GetGroup();
    const auto target = frTokenGroupSelector->GetSelectedGroup();
    const auto copy = FEditedToken->GetCloner()->Clone();
    copy->SetTitle(Title());
    copy->SetUserName(UserName());
    copy->SetPassword(frPasswordEditor->GetPassword());
    copy->SetURL(MainURL());
    copy->SetNotes(Notes());
    copy->SetExpires(frExpirationSettings->GetExpires());
    // The date of an object that does not expire stays as it is.
    if (frExpirationSettings->GetExpires())
        copy->SetExpirationDate(frExpirationSettings->GetExpirationDate());
    if (frTokenAutoLogin->GetValues() != FLoadedAutoLogin) {
        copy->SetUseManualAutoLogin(frTokenAutoLogin->GetUseManualSettings());
        copy->SetAutoLoginInfo(frTokenAutoLogin->CreateAutoLoginInfo());
    }
    copy->GetCustomProperties()->Assign(frCustomPropsEditor->GetTokenCustomProperties());
    copy->GetHistory()->Assign(frTokenHistoryDisplay->GetTokenHistory());
    if (FEditedToken->GetComparer()->Equals(copy) && target == source)
        return true;
    if (!TitleIsUnique(target))
        return false;

    const auto update = FEditedToken->CreateUpdateOperation(copy);
    if (source && target && source != target) {
        const auto composite = GetLockwyn()->GetObjectFactory()->CreateCompositeOperation();
        const auto move = LockwynApp().GetTokenStorage()->CreateMoveTokenOperation(
            FEditedToken, target, LocalizedStrings().FTransferTitleCollisionTemplate);
        composite->Add(update);
        composite->Add(move);
        EditingProtocol::Execute(LockwynApp(), composite, [&] { ShowToken(move->GetResult()); });
    } else {
        EditingProtocol::Execute(LockwynApp(), update, [&] { ShowToken(FEditedToken); });
    }
    return true;
}
