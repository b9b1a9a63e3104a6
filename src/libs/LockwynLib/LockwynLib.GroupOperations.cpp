#include "LockwynLib.GroupOperations.h"

#include "LockwynLib.Operation.h"
#include "LockwynLib.TitleResolver.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenOperations.h"
#include "LockwynLib.TokenStorage.h"

#include <algorithm>
#include <optional>

namespace Lockwyn {

namespace {

void ReserveGroupTitles(const TTokenGroup& group, TTitleResolver& resolver)
{
    for (const auto& child : group.Groups())
        resolver.Reserve(child->Data().Title);
}

std::shared_ptr<TTokenGroup> TakeGroupByID(TTokenGroup& parent, const QUuid& id)
{
    const auto index = parent.IndexOfGroup(id);
    if (index < 0)
        throw std::logic_error("The group of the operation is not in the database");
    return parent.TakeGroup(index);
}

// Adds a ready subtree to a group; undo takes it out again.
class TInsertTreeOperation : public TOperation<IOperationOf<ITokenGroup>>
{
public:
    TInsertTreeOperation(TTokenGroup& target)
        : TOperation(*target.Storage()), FTargetID(target.Data().ID)
    {
    }
    std::shared_ptr<ITokenGroup> GetResult() override { return FResult.lock(); }

protected:
    virtual void Prepare(TTokenGroup& target) = 0;
    void DoExecute() override
    {
        auto& target = Group(FTargetID);
        if (!FPrepared)
            Prepare(target);
        FPrepared = true;
        auto group = TTokenGroup::Build(FTree);
        target.InsertGroup(-1, group);
        FResult = group;
    }
    void DoUndo() override
    {
        TakeGroupByID(Group(FTargetID), FTree.Group.ID);
        FResult.reset();
    }

    QUuid FTargetID;
    TGroupTreeData FTree;

private:
    bool FPrepared = false;
    std::weak_ptr<TTokenGroup> FResult;
};

class TAddGroupOperation : public TInsertTreeOperation
{
public:
    TAddGroupOperation(TTokenGroup& parent, TGroupData data) : TInsertTreeOperation(parent)
    {
        FTree.Group = std::move(data);
    }

protected:
    void Prepare(TTokenGroup&) override {}
};

class TCopyGroupOperation : public TInsertTreeOperation
{
public:
    TCopyGroupOperation(TTokenGroup& group, TTokenGroup& target, const QString& templ)
        : TInsertTreeOperation(target), FSourceID(group.Data().ID), FTemplate(templ)
    {
    }

protected:
    void Prepare(TTokenGroup& target) override
    {
        FTree = Group(FSourceID).Snapshot();
        TTitleResolver resolver(FTemplate);
        ReserveGroupTitles(target, resolver);
        FTree.Group.Title = resolver.Resolve(FTree.Group.Title);
        MakeFresh(FTree, NowMsecs());
    }

private:
    static void MakeFresh(TGroupTreeData& tree, TMsecs now)
    {
        tree.Group.ID = QUuid::createUuid();
        tree.Group.Created = now;
        tree.Group.Modified = 0;
        for (auto& token : tree.Tokens)
            token = FreshCopy(token, token.Field(TTokenField::tfTitle), now);
        for (auto& child : tree.Groups)
            MakeFresh(child, now);
    }

    QUuid FSourceID;
    QString FTemplate;
};

class TUpdateGroupOperation : public TOperation<IOperationOf<ITokenGroup>>
{
public:
    TUpdateGroupOperation(TTokenGroup& group, TGroupData before, TGroupData after)
        : TOperation(*group.Storage()), FBefore(std::move(before)), FAfter(std::move(after))
    {
    }
    std::shared_ptr<ITokenGroup> GetResult() override { return FResult.lock(); }

protected:
    void DoExecute() override
    {
        auto& group = Group(FAfter.ID);
        group.SetData(FAfter);
        FResult = group.shared_from_this();
    }
    void DoUndo() override
    {
        Group(FBefore.ID).SetData(FBefore);
        FResult.reset();
    }

private:
    TGroupData FBefore;
    TGroupData FAfter;
    std::weak_ptr<TTokenGroup> FResult;
};

class TDeleteGroupOperation : public TOperation<IOperation>
{
public:
    explicit TDeleteGroupOperation(TTokenGroup& group)
        : TOperation(*group.Storage()), FParentID(group.Parent()->Data().ID),
          FGroupID(group.Data().ID)
    {
    }

protected:
    void DoExecute() override
    {
        auto& parent = Group(FParentID);
        FIndex = parent.IndexOfGroup(FGroupID);
        FTree = TakeGroupByID(parent, FGroupID)->Snapshot();
    }
    void DoUndo() override
    {
        Group(FParentID).InsertGroup(FIndex, TTokenGroup::Build(FTree));
        FTree = {};
    }

private:
    QUuid FParentID;
    QUuid FGroupID;
    qsizetype FIndex = -1;
    TGroupTreeData FTree;
};

class TMoveGroupOperation : public TOperation<IOperationOf<ITokenGroup>>
{
public:
    TMoveGroupOperation(TTokenGroup& group, TTokenGroup& target, const QString& templ)
        : TOperation(*group.Storage()), FGroupID(group.Data().ID), FTargetID(target.Data().ID),
          FTemplate(templ)
    {
    }
    std::shared_ptr<ITokenGroup> GetResult() override { return FResult.lock(); }

protected:
    void DoExecute() override
    {
        auto& group = Group(FGroupID);
        auto& target = Group(FTargetID);
        auto* source = group.Parent();
        if (!source)
            throw std::logic_error("The root group cannot move");
        if (group.Contains(&target))
            throw std::logic_error("A group cannot move into itself or below itself");
        FResult = group.shared_from_this();
        FMoved = source != &target;
        if (!FMoved)
            return;
        FSourceID = source->Data().ID;
        FSourceIndex = source->IndexOfGroup(FGroupID);
        auto taken = source->TakeGroup(FSourceIndex);
        FBefore = taken->Data();
        if (!FAfter)
            FAfter = Renamed(FBefore, target);
        taken->SetData(*FAfter);
        target.InsertGroup(-1, std::move(taken));
    }
    void DoUndo() override
    {
        FResult.reset();
        if (!FMoved)
            return;
        auto taken = TakeGroupByID(Group(FTargetID), FGroupID);
        taken->SetData(FBefore);
        Group(FSourceID).InsertGroup(FSourceIndex, std::move(taken));
    }

private:
    TGroupData Renamed(const TGroupData& data, const TTokenGroup& target) const
    {
        TTitleResolver resolver(FTemplate);
        ReserveGroupTitles(target, resolver);
        TGroupData renamed = data;
        renamed.Title = resolver.Resolve(data.Title);
        if (renamed.Title != data.Title)
            renamed.Modified = NowMsecs();
        return renamed;
    }

    QUuid FGroupID;
    QUuid FTargetID;
    QString FTemplate;
    QUuid FSourceID;
    qsizetype FSourceIndex = -1;
    bool FMoved = false;
    TGroupData FBefore;
    std::optional<TGroupData> FAfter;
    std::weak_ptr<TTokenGroup> FResult;
};

class TImportOperation : public TOperation<IOperation>
{
public:
    TImportOperation(TTokenGroup& target, TGroupTreeData imported, bool newIDs,
                     const QString& templ)
        : TOperation(*target.Storage()), FTargetID(target.Data().ID),
          FImported(std::move(imported)), FNewIDs(newIDs), FTemplate(templ)
    {
    }

protected:
    void DoExecute() override
    {
        auto& target = Group(FTargetID);
        if (!FPrepared)
            Prepare(target);
        FPrepared = true;
        for (const auto& token : FImported.Tokens)
            target.InsertToken(-1, std::make_shared<TToken>(token));
        for (const auto& group : FImported.Groups)
            target.InsertGroup(-1, TTokenGroup::Build(group));
    }
    void DoUndo() override
    {
        auto& target = Group(FTargetID);
        QSet<QUuid> tokenIDs;
        for (const auto& token : FImported.Tokens)
            tokenIDs.insert(token.ID);
        target.TakeTokens(tokenIDs);
        for (auto it = FImported.Groups.rbegin(); it != FImported.Groups.rend(); ++it)
            TakeGroupByID(target, it->Group.ID);
    }

private:
    void Prepare(const TTokenGroup& target)
    {
        if (!FNewIDs)
            CollectIDs(Storage().Root(), FTakenIDs);
        const TMsecs now = NowMsecs();
        TTitleResolver tokenTitles(FTemplate);
        for (const auto& token : target.Tokens())
            tokenTitles.Reserve(token->Data().Field(TTokenField::tfTitle));
        TTitleResolver groupTitles(FTemplate);
        ReserveGroupTitles(target, groupTitles);
        PrepareContent(FImported, tokenTitles, groupTitles, now);
    }
    void PrepareContent(TGroupTreeData& tree, TTitleResolver& tokenTitles,
                        TTitleResolver& groupTitles, TMsecs now)
    {
        for (auto& token : tree.Tokens) {
            token.ID = TakeID(token.ID);
            auto& title = token.Fields[int(TTokenField::tfTitle)];
            title = tokenTitles.Resolve(title);
            if (token.Created == 0)
                token.Created = now;
        }
        for (auto& group : tree.Groups) {
            group.Group.ID = TakeID(group.Group.ID);
            group.Group.Title = groupTitles.Resolve(group.Group.Title);
            if (group.Group.Created == 0)
                group.Group.Created = now;
            TTitleResolver innerTokens(FTemplate);
            TTitleResolver innerGroups(FTemplate);
            PrepareContent(group, innerTokens, innerGroups, now);
        }
    }
    QUuid TakeID(const QUuid& wanted)
    {
        QUuid id = wanted;
        if (FNewIDs || id.isNull() || FTakenIDs.contains(id))
            id = QUuid::createUuid();
        FTakenIDs.insert(id);
        return id;
    }
    static void CollectIDs(const TTokenGroup& group, QSet<QUuid>& ids)
    {
        ids.insert(group.Data().ID);
        for (const auto& token : group.Tokens())
            ids.insert(token->Data().ID);
        for (const auto& child : group.Groups())
            CollectIDs(*child, ids);
    }

    QUuid FTargetID;
    TGroupTreeData FImported;
    bool FNewIDs;
    QString FTemplate;
    bool FPrepared = false;
    QSet<QUuid> FTakenIDs;
};

// Groups placed `levels` deep below `target` stay within the depth a file
// may have.
void RequireDepth(const TTokenGroup& target, int levels)
{
    if (target.Depth() + levels > MaxGroupDepth)
        throw std::invalid_argument("Groups would nest deeper than a database file allows");
}

int TreeHeight(const TGroupTreeData& tree)
{
    int height = 0;
    for (const auto& group : tree.Groups)
        height = std::max(height, TreeHeight(group) + 1);
    return height;
}

void RequireSameStorage(const TTokenGroup& left, const TTokenGroup& right)
{
    if (!left.Storage() || left.Storage() != right.Storage())
        throw std::invalid_argument("The groups are not part of one database");
}

} // namespace

std::shared_ptr<IOperationOf<ITokenGroup>>
MakeAddGroupOperation(const std::shared_ptr<TTokenGroup>& parent, TGroupData data)
{
    RequireDepth(*parent, 1);
    data.Created = NowMsecs();
    data.Modified = 0;
    return std::make_shared<TAddGroupOperation>(*parent, std::move(data));
}

std::shared_ptr<IOperationOf<ITokenGroup>>
MakeUpdateGroupOperation(const std::shared_ptr<TTokenGroup>& group, const TGroupData& edited)
{
    const TGroupData& before = group->Data();
    TGroupData after = edited;
    after.ID = before.ID;
    after.Created = before.Created;
    after.Modified = before.SameValues(after) ? before.Modified : NowMsecs();
    return std::make_shared<TUpdateGroupOperation>(*group, before, std::move(after));
}

std::shared_ptr<IOperation> MakeDeleteGroupOperation(const std::shared_ptr<TTokenGroup>& group)
{
    if (!group->Parent())
        throw std::invalid_argument("The root group cannot be deleted");
    return std::make_shared<TDeleteGroupOperation>(*group);
}

std::shared_ptr<IOperationOf<ITokenGroup>>
MakeMoveGroupOperation(const std::shared_ptr<TTokenGroup>& group,
                       const std::shared_ptr<TTokenGroup>& target,
                       const QString& titleCollisionTemplate)
{
    RequireSameStorage(*group, *target);
    if (!group->Parent())
        throw std::invalid_argument("The root group cannot move");
    if (group->Contains(target.get()))
        throw std::invalid_argument("A group cannot move into itself or below itself");
    RequireDepth(*target, 1 + group->Height());
    return std::make_shared<TMoveGroupOperation>(*group, *target, titleCollisionTemplate);
}

std::shared_ptr<IOperationOf<ITokenGroup>>
MakeCopyGroupOperation(const std::shared_ptr<TTokenGroup>& group,
                       const std::shared_ptr<TTokenGroup>& target,
                       const QString& titleCollisionTemplate)
{
    RequireSameStorage(*group, *target);
    if (!group->Parent())
        throw std::invalid_argument("The root group cannot be copied");
    RequireDepth(*target, 1 + group->Height());
    return std::make_shared<TCopyGroupOperation>(*group, *target, titleCollisionTemplate);
}

std::shared_ptr<IOperation> MakeImportOperation(const std::shared_ptr<TTokenGroup>& target,
                                                TGroupTreeData imported, bool newIDs,
                                                const QString& titleCollisionTemplate)
{
    RequireDepth(*target, TreeHeight(imported));
    return std::make_shared<TImportOperation>(*target, std::move(imported), newIDs,
                                              titleCollisionTemplate);
}

} // namespace Lockwyn
