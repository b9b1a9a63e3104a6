#include "Frames.TokenGroupSelector.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QSet>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <algorithm>

#include "Components.SingleLineText.h"
#include "Lockwyn.App.h"

using namespace Lockwyn;

namespace {

constexpr int VisibleItems = 16;
// Long paths must not widen the dialog; the list shows them cut.
constexpr int MinimumContentsLength = 24;

} // namespace

TfrTokenGroupSelector::TfrTokenGroupSelector(QWidget* parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("frTokenGroupSelector"));
    cbSelectedGroup = new QComboBox(this);
    cbSelectedGroup->setObjectName(QStringLiteral("cbSelectedGroup"));
    cbSelectedGroup->setEditable(false);
    cbSelectedGroup->setMaxVisibleItems(VisibleItems);
    cbSelectedGroup->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    cbSelectedGroup->setMinimumContentsLength(MinimumContentsLength);
    // A cut path keeps its end, the group's own title, in the list; the whole
    // path is the tool tip.
    cbSelectedGroup->view()->setTextElideMode(Qt::ElideMiddle);
    connect(cbSelectedGroup, &QComboBox::currentTextChanged, cbSelectedGroup, &QWidget::setToolTip);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(cbSelectedGroup);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    setFocusProxy(cbSelectedGroup);
}

std::shared_ptr<ITokenGroup> TfrTokenGroupSelector::GroupOfItem(int index) const
{
    if (index < 0)
        return nullptr;
    const int group = cbSelectedGroup->itemData(index).toInt();
    return group >= 0 && group < FGroups.size() ? FGroups[group].lock() : nullptr;
}

std::shared_ptr<ITokenGroup> TfrTokenGroupSelector::GetSelectedGroup()
{
    if (auto group = GroupOfItem(cbSelectedGroup->currentIndex()))
        return group;
    return LockwynApp().GetRootGroup();
}

std::shared_ptr<ITokenGroup> TfrTokenGroupSelector::GetExcludedGroup()
{
    return FExcludedGroup.lock();
}

void TfrTokenGroupSelector::SetSelectedGroup(const std::shared_ptr<ITokenGroup>& group)
{
    UpdateData();
    int found = -1;
    for (int i = 0; group && i < cbSelectedGroup->count(); ++i) {
        if (GroupOfItem(i) == group)
            found = i;
    }
    cbSelectedGroup->setCurrentIndex(found);
}

void TfrTokenGroupSelector::SetExcludedGroup(const std::shared_ptr<ITokenGroup>& group)
{
    FExcludedGroup = group;
}

void TfrTokenGroupSelector::UpdateData()
{
    const QSignalBlocker blocker(cbSelectedGroup);
    cbSelectedGroup->setUpdatesEnabled(false);
    cbSelectedGroup->clear();
    FGroups.clear();

    QList<TTokenGroupPath> paths;
    LockwynApp().GetRootGroup()->FillGroupPaths(paths);
    if (const auto excluded = FExcludedGroup.lock()) {
        QSet<const ITokenGroup*> left{excluded.get()};
        for (const auto& group : excluded->GetAllGroups())
            left.insert(group.get());
        paths.removeIf(
            [&](const TTokenGroupPath& path) { return left.contains(path.Group.get()); });
    }
    std::stable_sort(paths.begin(), paths.end(), [](const auto& left, const auto& right) {
        return left.Path.compare(right.Path, Qt::CaseInsensitive) < 0;
    });
    for (const TTokenGroupPath& path : std::as_const(paths)) {
        cbSelectedGroup->addItem(SingleLineText(path.Path), int(FGroups.size()));
        FGroups.append(path.Group);
    }
    if (cbSelectedGroup->currentIndex() < 0 && cbSelectedGroup->count() > 0)
        cbSelectedGroup->setCurrentIndex(0);
    cbSelectedGroup->setToolTip(cbSelectedGroup->currentText());
    cbSelectedGroup->setUpdatesEnabled(true);
}
