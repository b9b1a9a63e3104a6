#include "Forms.EditGroup.h"

#include <QEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>

#include "Components.DialogWindow.h"
#include "Components.DpiScale.h"
#include "Components.FormPlacementSaver.h"
#include "Components.ReleaseView.h"
#include "Components.SingleLineText.h"
#include "Frames.CustomPropsTemplateEditor.h"
#include "Frames.DialogHeader.h"
#include "Frames.ExpirationSettings.h"
#include "Frames.TokenGroupSelector.h"
#include "Lockwyn.App.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"

using namespace Lockwyn;

namespace {

constexpr int PagesWidth = 440;

enum TPage
{
    pgGeneral,
    pgCustomProps,
};

ITokenGroupTreeView* GroupTree()
{
    IMainView* main = LockwynApp().GetMainView();
    return main ? main->GetTokenGroupTreeView() : nullptr;
}

// Levels below the root.
int Depth(const std::shared_ptr<ITokenGroup>& group)
{
    int depth = 0;
    for (auto parent = group->GetParent(); parent; parent = parent->GetParent())
        ++depth;
    return depth;
}

// Levels of groups below the group.
int Height(const std::shared_ptr<ITokenGroup>& group)
{
    int height = 0;
    for (const auto& child : group->GetGroups())
        height = std::max(height, Height(child) + 1);
    return height;
}

// The views show the group and select it.
void ShowGroup(const std::shared_ptr<ITokenGroup>& group)
{
    ClearActiveSearch(LockwynApp().GetMainView());
    if (ITokenGroupTreeView* tree = GroupTree()) {
        tree->UpdateView();
        tree->SelectGroup(group);
        tree->SetFocus();
    }
}

} // namespace

TfEditGroup::TfEditGroup(QWidget* parent) : QDialog(parent), FPages(this)
{
    setObjectName(QStringLiteral("fEditGroup"));
    PrepareDialogWindow(*this);
    CreateControls();
    frCustomPropsTemplateEditor->SetOnChange([] {});
    FPages.Activate(pgGeneral);
    LocalizerUpdate();
    UpdateOkButton();
}

TfEditGroup::~TfEditGroup() = default;

void TfEditGroup::CreateControls()
{
    frDialogHeader = CreateDialogHeader(this);
    CreateGeneralPage(FPages.AddPage(QStringLiteral("pnlGeneral"), QStringLiteral("psGeneral")));
    QWidget* customProps =
        FPages.AddPage(QStringLiteral("pnlCustomProps"), QStringLiteral("psCustomProps"));
    frCustomPropsTemplateEditor = new TfrCustomPropsTemplateEditor(customProps);
    CreatePageLayout(customProps)->addWidget(frCustomPropsTemplateEditor, 1);
    FPages.SetMinimumPageWidth(ScaleByDpi(this, PagesWidth));

    const TDialogButtonBar buttons = CreateDialogButtonBar(this);
    btnOK = buttons.OK;
    btnCancel = buttons.Cancel;
    connect(btnOK, &QPushButton::clicked, this, &TfEditGroup::OkClick);

    StackDialogRows(this, {frDialogHeader, FPages.Body(), buttons.Bar});
}

void TfEditGroup::CreateGeneralPage(QWidget* page)
{
    lblParentGroup = new QLabel(page);
    frTokenGroupSelector = new TfrTokenGroupSelector(page);
    lblTitle = new QLabel(page);
    edtTitle = CreateTitleEdit(page, [this] { UpdateOkButton(); });
    frExpirationSettings = new TfrExpirationSettings(page);
    QVBoxLayout* layout = CreatePageLayout(page);
    AddLabelledRow(layout, lblParentGroup, frTokenGroupSelector);
    AddLabelledRow(layout, lblTitle, edtTitle);
    layout->addWidget(frExpirationSettings);
    layout->addStretch(1);
}

void TfEditGroup::LocalizerUpdate()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const bool add = FMode == TEditObjectModalViewMode::eomAddNew;
    setWindowTitle(strings.FAppName);
    frDialogHeader->SetCaption(add ? strings.FAddGroupDlgCaption : strings.FEditGroupDlgCaption);
    btnOK->setText(add ? strings.FAddGroupDlgButtonCaption : strings.FEditGroupDlgButtonCaption);
    btnCancel->setText(tr("Cancel"));
    lblParentGroup->setText(tr("Parent Group:"));
    lblTitle->setText(tr("Title:"));
    FPages.SetCaptions({tr("General"), tr("User Values")});
}

void TfEditGroup::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QDialog::changeEvent(event);
}

ITokenGroupSelector* TfEditGroup::GetTokenGroupSelector()
{
    return frTokenGroupSelector;
}

IExpirationSettings* TfEditGroup::GetExpirationSettings()
{
    return frExpirationSettings;
}

ICustomPropsTemplateEditor* TfEditGroup::GetCustomPropsTemplateEditor()
{
    return frCustomPropsTemplateEditor;
}

void TfEditGroup::SetMode(TEditObjectModalViewMode mode)
{
    FMode = mode;
    ITokenGroupTreeView* tree = GroupTree();
    const auto selected = tree ? tree->GetSelectedGroup() : nullptr;
    if (mode == TEditObjectModalViewMode::eomEditCurrent) {
        // The root group is the database itself; it is not edited here.
        FEditedGroup = selected && selected->GetParent() ? selected : nullptr;
        frTokenGroupSelector->SetExcludedGroup(FEditedGroup);
        if (FEditedGroup) {
            frTokenGroupSelector->SetSelectedGroup(FEditedGroup->GetParent());
            edtTitle->setText(FEditedGroup->GetTitle());
            frExpirationSettings->SetExpires(FEditedGroup->GetExpires());
            frExpirationSettings->SetExpirationDate(FEditedGroup->GetExpirationDate());
            frCustomPropsTemplateEditor->SetTokenCustomPropertiesTemplate(
                FEditedGroup->GetCustomPropertiesTemplate()->GetCloner()->Clone());
        }
    } else {
        FEditedGroup = nullptr;
        frTokenGroupSelector->SetExcludedGroup(nullptr);
        const auto parent = selected ? selected : LockwynApp().GetRootGroup();
        frTokenGroupSelector->SetSelectedGroup(parent);
        edtTitle->clear();
        const bool expires = GUISettings().AutoExpirationEnabled();
        frExpirationSettings->SetExpires(expires);
        frExpirationSettings->SetExpirationDate(expires ? GUISettings().GetAutoExpirationDate()
                                                        : QDateTime::currentDateTime());
        frCustomPropsTemplateEditor->SetTokenCustomPropertiesTemplate(
            parent->GetCustomPropertiesTemplate()->GetCloner()->Clone());
    }
    LocalizerUpdate();
}

int TfEditGroup::ShowModal()
{
    return ShowDialogModal(this);
}

void TfEditGroup::ReleaseView()
{
    ReleaseDialogView(this);
}

void TfEditGroup::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    TFormPlacementSaver::CenterFormInMainScreen(this);
    edtTitle->setFocus(Qt::OtherFocusReason);
}

QString TfEditGroup::Title() const
{
    return SingleLineText(edtTitle->text());
}

void TfEditGroup::UpdateOkButton()
{
    btnOK->setEnabled(!Title().trimmed().isEmpty());
}

void TfEditGroup::OkClick()
{
    if (Title().trimmed().isEmpty())
        return;
    const bool done = FMode == TEditObjectModalViewMode::eomAddNew ? AddGroup() : UpdateGroup();
    if (done)
        accept();
}

bool TfEditGroup::TitleIsUnique(const std::shared_ptr<ITokenGroup>& parent)
{
    if (parent->IsGroupTitleUnique(Title(), FEditedGroup))
        return true;
    FPages.Activate(pgGeneral);
    return RefuseInput(this,
                       Format(LocalizedStrings().FGroupTitleIsNotUnique, TitleForMessage(Title()),
                              TitleForMessage(parent->GetTitle())),
                       [this] { edtTitle->setFocus(Qt::OtherFocusReason); });
}

// Deeper groups could not be read back from the file.
bool TfEditGroup::NestingFits(const std::shared_ptr<ITokenGroup>& parent, int levels)
{
    if (Depth(parent) + levels <= Lockwyn::DatabaseLimits::MaxGroupDepth)
        return true;
    FPages.Activate(pgGeneral);
    return RefuseInput(
        this,
        Format(LocalizedStrings().FGroupNestingTooDeep, Lockwyn::DatabaseLimits::MaxGroupDepth),
        [this] { frTokenGroupSelector->setFocus(Qt::OtherFocusReason); });
}

bool TfEditGroup::AddGroup()
{
    const auto parent = frTokenGroupSelector->GetSelectedGroup();
    if (!NestingFits(parent, 1) || !TitleIsUnique(parent))
        return false;
    const auto operation = parent->CreateAddGroupOperation(
        Title(), frExpirationSettings->GetExpires(), frExpirationSettings->GetExpirationDate(),
        frCustomPropsTemplateEditor->GetTokenCustomPropertiesTemplate());
    EditingProtocol::Execute(LockwynApp(), operation, [&] { ShowGroup(operation->GetResult()); });
    return true;
}

bool TfEditGroup::UpdateGroup()
{
    if (!FEditedGroup)
        return true;
    const auto source = FEditedGroup->GetParent();
    const auto target = frTokenGroupSelector->GetSelectedGroup();
    const auto copy = FEditedGroup->GetCloner()->Clone();
    copy->SetTitle(Title());
    copy->SetExpires(frExpirationSettings->GetExpires());
    // The date of an object that does not expire stays as it is.
    if (frExpirationSettings->GetExpires())
        copy->SetExpirationDate(frExpirationSettings->GetExpirationDate());
    copy->GetCustomPropertiesTemplate()->Assign(
        frCustomPropsTemplateEditor->GetTokenCustomPropertiesTemplate());
    if (FEditedGroup->GetComparer()->Equals(copy) && target == source)
        return true;
    const bool moved = source && target && source != target;
    if ((moved && !NestingFits(target, 1 + Height(FEditedGroup))) || !TitleIsUnique(target))
        return false;

    const auto update = FEditedGroup->CreateUpdateOperation(copy);
    if (moved) {
        const auto composite = GetLockwyn()->GetObjectFactory()->CreateCompositeOperation();
        const auto move = LockwynApp().GetTokenStorage()->CreateMoveGroupOperation(
            FEditedGroup, target, LocalizedStrings().FTransferTitleCollisionTemplate);
        composite->Add(update);
        composite->Add(move);
        EditingProtocol::Execute(LockwynApp(), composite, [&] { ShowGroup(move->GetResult()); });
    } else {
        EditingProtocol::Execute(LockwynApp(), update, [&] { ShowGroup(FEditedGroup); });
    }
    return true;
}
