#include "Frames.BrowserSelector.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QFileInfo>
#include <QListView>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include "Components.DpiScale.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"

namespace {

constexpr int ListMaxWidth = 250;
constexpr int ItemHeight = 22;
constexpr int IconSize = 16;
constexpr int RowSpacing = 6;

// Items of the drop-down list at their designed height.
class TItemHeightDelegate final : public QStyledItemDelegate
{
public:
    TItemHeightDelegate(int height, QObject* parent) : QStyledItemDelegate(parent), FHeight(height)
    {
    }
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        return {QStyledItemDelegate::sizeHint(option, index).width(), FHeight};
    }

private:
    int FHeight;
};

bool ProgramExists(const std::shared_ptr<Lockwyn::IBrowserInfo>& browser)
{
    return browser && QFileInfo(browser->GetPath()).isFile();
}

} // namespace

TfrBrowserSelector::TfrBrowserSelector(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frBrowserSelector"));
    CreateControls();
    LocalizerUpdate();
    UpdateBrowserList();
    ApplyEnabling();
}

void TfrBrowserSelector::CreateControls()
{
    chkUseDefaultBrowser = new QCheckBox(this);
    chkUseDefaultBrowser->setObjectName(QStringLiteral("chkUseDefaultBrowser"));
    connect(chkUseDefaultBrowser, &QCheckBox::clicked, this, &TfrBrowserSelector::ApplyEnabling);
    cbbBrowsers = new QComboBox(this);
    cbbBrowsers->setObjectName(QStringLiteral("cbbBrowsers"));
    cbbBrowsers->setMaximumWidth(ScaleByDpi(this, ListMaxWidth));
    cbbBrowsers->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    const int iconSide = ScaleByDpi(this, IconSize);
    cbbBrowsers->setIconSize({iconSide, iconSide});
    auto* list = new QListView(cbbBrowsers);
    list->setItemDelegate(new TItemHeightDelegate(ScaleByDpi(this, ItemHeight), list));
    cbbBrowsers->setView(list);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(ScaleByDpi(this, RowSpacing));
    layout->addWidget(chkUseDefaultBrowser);
    layout->addWidget(cbbBrowsers, 0, Qt::AlignLeft);
}

void TfrBrowserSelector::LocalizerUpdate()
{
    chkUseDefaultBrowser->setText(tr("Use default Windows browser"));
}

void TfrBrowserSelector::changeEvent(QEvent* event)
{
    if (event->type() == QEvent::LanguageChange)
        LocalizerUpdate();
    QWidget::changeEvent(event);
}

void TfrBrowserSelector::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    ApplyEnabling();
}

void TfrBrowserSelector::ApplyEnabling()
{
    cbbBrowsers->setEnabled(!chkUseDefaultBrowser->isChecked());
}

void TfrBrowserSelector::UpdateBrowserList()
{
    cbbBrowsers->clear();
    FImages.clear();
    const std::shared_ptr<Lockwyn::IBrowserList> browsers = GetAppEnumerator()->GetBrowsers();
    browsers->Refresh();
    FItems = browsers->GetItems();
    const QSize iconSize = cbbBrowsers->iconSize();
    for (const std::shared_ptr<Lockwyn::IBrowserInfo>& browser : *FItems) {
        QPixmap image = browser->GetIcon()->GetIcon().pixmap(iconSize);
        if (image.isNull()) {
            image = QPixmap(iconSize);
            image.fill(Qt::transparent);
        }
        FImages << image;
        cbbBrowsers->addItem(QIcon(image), browser->GetName());
    }
    cbbBrowsers->setMaxVisibleItems(qMax(1, FItems->Count()));
}

std::shared_ptr<Lockwyn::IBrowserInfo> TfrBrowserSelector::GetSelectedBrowser()
{
    return FItems ? FItems->Items(cbbBrowsers->currentIndex()) : nullptr;
}

bool TfrBrowserSelector::GetUseDefaultBrowser()
{
    return chkUseDefaultBrowser->isChecked();
}

void TfrBrowserSelector::SetSelectedBrowser(const std::shared_ptr<Lockwyn::IBrowserInfo>& browser)
{
    if (ProgramExists(browser)) {
        SelectSameBrowser(browser);
        return;
    }
    const std::shared_ptr<Lockwyn::IBrowserInfo> system =
        GetAppEnumerator()->GetBrowsers()->GetDefaultBrowser();
    if (ProgramExists(system))
        SelectSameBrowser(system);
    else
        cbbBrowsers->setCurrentIndex(-1);
}

void TfrBrowserSelector::SelectSameBrowser(const std::shared_ptr<Lockwyn::IBrowserInfo>& browser)
{
    for (int i = 0; i < FItems->Count(); ++i) {
        if (FItems->Items(i)->IsSameBrowser(browser)) {
            cbbBrowsers->setCurrentIndex(i);
            return;
        }
    }
}

void TfrBrowserSelector::SetUseDefaultBrowser(bool value)
{
    chkUseDefaultBrowser->setChecked(value);
    ApplyEnabling();
}

void TfrBrowserSelector::LoadUIState()
{
    SetUseDefaultBrowser(GUISettings().UseDefaultBrowser());
    SetSelectedBrowser(GUISettings().GetSelectedBrowser());
}

void TfrBrowserSelector::SaveUIState()
{
    GUISettings().SetUseDefaultBrowser(GetUseDefaultBrowser());
    const std::shared_ptr<Lockwyn::IBrowserInfo> selected = GetSelectedBrowser();
    GUISettings().SetSelectedBrowserPath(selected ? selected->GetPath() : QString());
}
