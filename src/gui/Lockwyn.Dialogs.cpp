#include "Lockwyn.Dialogs.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStackedLayout>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Components.SectionBarPanelSwitcher.h"
#include "Components.SingleLineText.h"
#include "Frames.DialogHeader.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Interfaces.h"
#include "Orvanta.Vcl.SectionBar.h"
#include "OvToast.h"

namespace {

constexpr int ContentMargin = 16;
constexpr int ButtonRowTopMargin = 14;
constexpr int ButtonSpacing = 8;
constexpr int ButtonWidth = 88;
constexpr int MessageTitleLength = 60;
constexpr int PageRowSpacing = 8;
constexpr int LabelSpacing = 3;

} // namespace

int ShowDialogModal(QDialog* dialog)
{
    return dialog->exec() == QDialog::Accepted ? mrOk : mrCancel;
}

TfrDialogHeader* CreateDialogHeader(QDialog* dialog)
{
    auto* header = new TfrDialogHeader(dialog);
    header->SetSettingsMenuVisible(false);
    header->SetHelpMenu(LockwynApp().GetHelpMenu());
    return header;
}

void StackDialogRows(QDialog* dialog, const QList<QWidget*>& rows, bool fixedSize)
{
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (qsizetype i = 0; i < rows.size(); ++i) {
        const bool inner = i > 0 && i + 1 < rows.size();
        layout->addWidget(rows[i], !fixedSize && inner ? 1 : 0);
    }
    layout->setSizeConstraint(fixedSize ? QLayout::SetFixedSize : QLayout::SetMinimumSize);
}

TDialogButtonBar CreateDialogButtonBar(QDialog* dialog)
{
    TDialogButtonBar bar;
    bar.Bar = new QWidget(dialog);
    bar.Bar->setObjectName(QStringLiteral("flpnlDlgButtons"));
    bar.OK = new QPushButton(bar.Bar);
    bar.OK->setObjectName(QStringLiteral("btnOK"));
    bar.OK->setDefault(true);
    bar.Cancel = new QPushButton(bar.Bar);
    bar.Cancel->setObjectName(QStringLiteral("btnCancel"));
    bar.Cancel->setAutoDefault(false);
    QObject::connect(bar.Cancel, &QPushButton::clicked, dialog, &QDialog::reject);
    for (QPushButton* button : {bar.OK, bar.Cancel})
        button->setMinimumWidth(ScaleByDpi(dialog, ButtonWidth));
    const int margin = ScaleByDpi(dialog, ContentMargin);
    auto* layout = new QHBoxLayout(bar.Bar);
    layout->setContentsMargins(margin, ScaleByDpi(dialog, ButtonRowTopMargin), margin, margin);
    layout->setSpacing(ScaleByDpi(dialog, ButtonSpacing));
    layout->addStretch(1);
    layout->addWidget(bar.OK);
    layout->addWidget(bar.Cancel);
    return bar;
}

bool RefuseInput(QWidget* dialog, const QString& message, const std::function<void()>& focus)
{
    TOvToast::Show(dialog, message, InputToastInterval);
    if (focus)
        focus();
    return false;
}

QString TitleForMessage(const QString& title)
{
    const QString line = SingleLineText(title);
    if (line.size() <= MessageTitleLength)
        return line;
    return line.left(MessageTitleLength - 1) + QChar(0x2026);
}

TDialogPages::TDialogPages(QWidget* parent)
    : FBody(new QWidget(parent)), FBar(new TSectionBar(FBody)),
      FSwitcher(std::make_unique<TSectionBarPanelSwitcher>())
{
    FBody->setObjectName(QStringLiteral("pnlDlgContent"));
    FBar->setObjectName(QStringLiteral("sbSections"));
    auto* pages = new QWidget(FBody);
    pages->setObjectName(QStringLiteral("pnlPages"));
    FPages = new QStackedLayout(pages);
    // Every page stays in the layout, so the body fits the largest; the
    // switcher decides which one is visible.
    FPages->setStackingMode(QStackedLayout::StackAll);
    auto* layout = new QHBoxLayout(FBody);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(FBar);
    layout->addWidget(pages, 1);
}

TDialogPages::~TDialogPages() = default;

QWidget* TDialogPages::AddPage(const QString& panelName, const QString& sectionName)
{
    auto* page = new QWidget;
    page->setObjectName(panelName);
    FPages->addWidget(page);
    FSwitcher->AddSectionPanel(FBar->AddSection(sectionName), page);
    return page;
}

void TDialogPages::SetCaptions(const QStringList& captions)
{
    const QList<TPageSectionButton*> sections = FBar->Sections();
    for (int i = 0; i < sections.size() && i < captions.size(); ++i)
        sections[i]->setText(captions[i]);
}

void TDialogPages::SetMinimumPageWidth(int width)
{
    FPages->parentWidget()->setMinimumWidth(width);
}

void TDialogPages::Activate(int index)
{
    FSwitcher->ActivateSection(FBar->Sections().value(index));
}

int TDialogPages::ActiveIndex() const
{
    const QList<TPageSectionButton*> sections = FBar->Sections();
    for (int i = 0; i < sections.size(); ++i) {
        if (sections[i]->isChecked())
            return i;
    }
    return -1;
}

void TDialogPages::SetOnActivate(const std::function<void(int)>& handler)
{
    FSwitcher->SetOnPageSectionActivate(
        [this, handler](ISectionBarPanelSwitcher*, TPageSection* section) {
            handler(int(FBar->Sections().indexOf(static_cast<TPageSectionButton*>(section))));
        });
}

void ClearActiveSearch(IMainView* main)
{
    if (main && main->IsSearchActive())
        main->SetSearchText(QString());
}

QVBoxLayout* CreatePageLayout(QWidget* page)
{
    const int margin = ScaleByDpi(page, ContentMargin);
    auto* layout = new QVBoxLayout(page);
    layout->setContentsMargins(margin, margin, margin, 0);
    layout->setSpacing(ScaleByDpi(page, PageRowSpacing));
    return layout;
}

void AddLabelledRow(QVBoxLayout* page, QLabel* label, QWidget* field, int stretch)
{
    auto* row = new QVBoxLayout;
    row->setSpacing(ScaleByDpi(field, LabelSpacing));
    row->addWidget(label);
    row->addWidget(field, stretch);
    label->setBuddy(field);
    page->addLayout(row, stretch);
}

QLineEdit* CreateTitleEdit(QWidget* parent, const std::function<void()>& changed)
{
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(QStringLiteral("edtTitle"));
    edit->setValidator(new TSingleLineValidator(edit));
    QObject::connect(edit, &QLineEdit::textChanged, edit, [changed] { changed(); });
    return edit;
}
