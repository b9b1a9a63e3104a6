#include "Lockwyn.GroupTreeDrop.h"

#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.LocalizedStrings.h"

using namespace Lockwyn;

namespace GroupTreeDrop {

namespace {

bool AcceptsGroup(const TDrop& drop)
{
    const auto& group = drop.SelectedGroup;
    if (!group || group == drop.Target)
        return false;
    if (drop.Operation == TLockwynDragOperationType::dotMove && group->GetParent() == drop.Target)
        return false;
    return !group->FindGroupByID(drop.Target->GetID(), true);
}

bool AcceptsTokens(const TDrop& drop)
{
    if (!drop.SelectedTokens || drop.SelectedTokens->isEmpty())
        return false;
    if (drop.Operation == TLockwynDragOperationType::dotCopy)
        return true;
    for (const auto& token : *drop.SelectedTokens)
        if (token->GetGroup() != drop.Target)
            return true;
    return false;
}

} // namespace

bool Accepts(const TDrop& drop)
{
    if (!drop.Target)
        return false;
    switch (drop.Kind) {
    case TDraggedKind::dkGroup:
        return AcceptsGroup(drop);
    case TDraggedKind::dkTokens:
        return AcceptsTokens(drop);
    default:
        return false;
    }
}

bool Execute(ILockwynApp& app, const TDrop& drop,
             const std::function<void(const std::shared_ptr<ITokenGroup>&)>& selectGroup)
{
    if (!Accepts(drop) || !app.RequestEditMode())
        return false;
    const auto storage = app.GetTokenStorage();
    const QString& collision = LocalizedStrings().FTransferTitleCollisionTemplate;
    const bool copy = drop.Operation == TLockwynDragOperationType::dotCopy;
    if (drop.Kind == TDraggedKind::dkGroup) {
        const auto operation =
            copy ? storage->CreateCopyGroupOperation(drop.SelectedGroup, drop.Target, collision)
                 : storage->CreateMoveGroupOperation(drop.SelectedGroup, drop.Target, collision);
        EditingProtocol::Execute(app, operation, [&] {
            EditingProtocol::RebuildViews(app);
            if (selectGroup)
                selectGroup(operation->GetResult());
        });
        return true;
    }
    const auto operation =
        copy ? storage->CreateCopyTokensOperation(*drop.SelectedTokens, drop.Target, collision)
             : storage->CreateMoveTokensOperation(*drop.SelectedTokens, drop.Target, collision);
    EditingProtocol::Execute(app, operation, [&] { EditingProtocol::RebuildViews(app); });
    return true;
}

} // namespace GroupTreeDrop
