#include "LockwynLib.TokenOperations.h"

#include "LockwynLib.Limits.h"
#include "LockwynLib.Operation.h"
#include "LockwynLib.TitleResolver.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenStorage.h"

#include <optional>

namespace Lockwyn {

namespace {

TTokenStorage& StorageOf(const TTokenGroup& group)
{
    return *group.Storage();
}

TTokenGroup& CommonStorageGroup(const TOwnTokens& tokens,
                                const std::shared_ptr<TTokenGroup>& target)
{
    for (const auto& token : tokens)
        if (!token || !token->IsStored() || token->Group()->Storage() != target->Storage())
            throw std::invalid_argument("The tokens are not part of the target's database");
    return *target;
}

void ReserveTokenTitles(const TTokenGroup& group, TTitleResolver& resolver)
{
    for (const auto& token : group.Tokens())
        resolver.Reserve(token->Data().Field(TTokenField::tfTitle));
}

ITokenList FindResults(TTokenStorage& storage, const QUuid& groupID, const QList<QUuid>& ids)
{
    ITokenList results;
    auto* group = storage.Root().FindGroup(groupID);
    if (!group)
        return results;
    for (const auto& id : ids) {
        const auto index = group->IndexOfToken(id);
        if (index >= 0)
            results.append(group->Tokens()[std::size_t(index)]);
    }
    return results;
}

class TAddTokenOperation : public TOperation<IOperationOf<IToken>>
{
public:
    TAddTokenOperation(TTokenGroup& group, TTokenData data)
        : TOperation(StorageOf(group)), FGroupID(group.Data().ID), FData(std::move(data))
    {
    }
    std::shared_ptr<IToken> GetResult() override { return FResult.lock(); }

protected:
    void DoExecute() override
    {
        auto token = std::make_shared<TToken>(FData);
        Group(FGroupID).InsertToken(-1, token);
        FResult = token;
    }
    void DoUndo() override
    {
        auto& group = Group(FGroupID);
        group.TakeToken(group.IndexOfToken(FData.ID));
        FResult.reset();
    }

private:
    QUuid FGroupID;
    TTokenData FData;
    std::weak_ptr<TToken> FResult;
};

class TUpdateTokenOperation : public TOperation<IOperationOf<IToken>>
{
public:
    TUpdateTokenOperation(TToken& token, TTokenData before, TTokenData after)
        : TOperation(StorageOf(*token.Group())), FBefore(std::move(before)),
          FAfter(std::move(after))
    {
    }
    std::shared_ptr<IToken> GetResult() override { return FResult.lock(); }

protected:
    void DoExecute() override { FResult = Apply(FAfter); }
    void DoUndo() override
    {
        Apply(FBefore);
        FResult.reset();
    }

private:
    std::shared_ptr<TToken> Apply(const TTokenData& data)
    {
        auto token = Storage().Root().FindToken(data.ID);
        if (!token)
            throw std::logic_error("The token of the operation is not in the database");
        token->SetData(data);
        return token;
    }

    TTokenData FBefore;
    TTokenData FAfter;
    std::weak_ptr<TToken> FResult;
};

// Moves or copies tokens into a target group; the tokens placed there are the
// results while the operation stands executed.
class TTokensTransferOperation : public TOperation<ITokensOperation>
{
public:
    TTokensTransferOperation(TTokenGroup& target, const QString& templ)
        : TOperation(StorageOf(target)), FTargetID(target.Data().ID), FTemplate(templ)
    {
    }
    std::shared_ptr<IToken> GetResult() override
    {
        const auto results = GetResults();
        return results.isEmpty() ? nullptr : results.first();
    }
    ITokenList GetResults() override
    {
        return FExecuted ? FindResults(Storage(), FTargetID, ResultIDs()) : ITokenList();
    }

protected:
    // The tokens placed in the target, in order.
    virtual QList<QUuid> ResultIDs() const = 0;

    const QUuid FTargetID;
    const QString FTemplate;
    bool FExecuted = false;
};

class TMoveTokensOperation : public TTokensTransferOperation
{
public:
    TMoveTokensOperation(const TOwnTokens& tokens, TTokenGroup& target, const QString& templ)
        : TTokensTransferOperation(target, templ)
    {
        for (const auto& token : tokens)
            FItems.push_back({token->Data().ID, token->Group()->Data().ID, -1, {}, {}});
    }

protected:
    void DoExecute() override
    {
        auto& target = Group(FTargetID);
        TTitleResolver resolver(FTemplate);
        ReserveTokenTitles(target, resolver);
        for (auto& item : FItems) {
            auto& source = Group(item.SourceGroupID);
            item.SourceIndex = source.IndexOfToken(item.ID);
            if (item.SourceIndex < 0)
                throw std::logic_error("The token of the operation is not in the database");
            if (&source == &target)
                continue;
            auto token = source.TakeToken(item.SourceIndex);
            item.Before = token->Data();
            if (!item.After)
                item.After = Renamed(item.Before, resolver);
            token->SetData(*item.After);
            target.InsertToken(-1, std::move(token));
        }
        FExecuted = true;
    }
    void DoUndo() override
    {
        auto& target = Group(FTargetID);
        for (auto it = FItems.rbegin(); it != FItems.rend(); ++it) {
            auto& source = Group(it->SourceGroupID);
            if (&source == &target)
                continue;
            auto token = target.TakeToken(target.IndexOfToken(it->ID));
            token->SetData(it->Before);
            source.InsertToken(it->SourceIndex, std::move(token));
        }
        FExecuted = false;
    }

private:
    struct TItem
    {
        QUuid ID;
        QUuid SourceGroupID;
        qsizetype SourceIndex = -1;
        TTokenData Before;
        std::optional<TTokenData> After;
    };

    static TTokenData Renamed(const TTokenData& data, TTitleResolver& resolver)
    {
        const QString title = resolver.Resolve(data.Field(TTokenField::tfTitle));
        if (title == data.Field(TTokenField::tfTitle))
            return data;
        TTokenData renamed = data;
        renamed.Fields[int(TTokenField::tfTitle)] = title;
        renamed.Modified = NowMsecs();
        THistoryEntryData entry;
        if (ChangedEntry(data, renamed, renamed.Modified, entry))
            renamed.History.prepend(entry);
        return renamed;
    }
    QList<QUuid> ResultIDs() const override
    {
        QList<QUuid> ids;
        for (const auto& item : FItems)
            ids.append(item.ID);
        return ids;
    }

    std::vector<TItem> FItems;
};

class TCopyTokensOperation : public TTokensTransferOperation
{
public:
    TCopyTokensOperation(const TOwnTokens& tokens, TTokenGroup& target, const QString& templ)
        : TTokensTransferOperation(target, templ)
    {
        for (const auto& token : tokens)
            FCopies.push_back(token->Data());
    }

protected:
    void DoExecute() override
    {
        auto& target = Group(FTargetID);
        if (!FPrepared)
            Prepare(target);
        for (const auto& copy : FCopies)
            target.InsertToken(-1, std::make_shared<TToken>(copy));
        FExecuted = true;
    }
    void DoUndo() override
    {
        const auto ids = ResultIDs();
        Group(FTargetID).TakeTokens(QSet<QUuid>(ids.begin(), ids.end()));
        FExecuted = false;
    }

private:
    void Prepare(const TTokenGroup& target)
    {
        TTitleResolver resolver(FTemplate);
        ReserveTokenTitles(target, resolver);
        const TMsecs now = NowMsecs();
        for (auto& copy : FCopies)
            copy = FreshCopy(copy, resolver.Resolve(copy.Field(TTokenField::tfTitle)), now);
        FPrepared = true;
    }
    QList<QUuid> ResultIDs() const override
    {
        QList<QUuid> ids;
        for (const auto& copy : FCopies)
            ids.append(copy.ID);
        return ids;
    }

    std::vector<TTokenData> FCopies;
    bool FPrepared = false;
};

class TDeleteTokensOperation : public TOperation<IOperation>
{
public:
    explicit TDeleteTokensOperation(const TOwnTokens& tokens)
        : TOperation(*tokens.front()->Group()->Storage())
    {
        for (const auto& token : tokens) {
            const QUuid groupID = token->Group()->Data().ID;
            auto it = std::find_if(FGroups.begin(), FGroups.end(), [&](const TGroupItems& items) {
                return items.GroupID == groupID;
            });
            if (it == FGroups.end())
                it = FGroups.insert(FGroups.end(), TGroupItems{groupID, {}, {}});
            it->IDs.insert(token->Data().ID);
        }
    }

protected:
    void DoExecute() override
    {
        std::vector<TTokenGroup*> groups;
        for (const auto& items : FGroups)
            groups.push_back(&Group(items.GroupID));
        for (std::size_t i = 0; i < FGroups.size(); ++i) {
            FGroups[i].Removed.clear();
            for (auto& [index, token] : groups[i]->TakeTokens(FGroups[i].IDs))
                FGroups[i].Removed.emplace_back(index, token->Data());
        }
    }
    void DoUndo() override
    {
        for (auto it = FGroups.rbegin(); it != FGroups.rend(); ++it) {
            std::vector<std::pair<qsizetype, std::shared_ptr<TToken>>> tokens;
            for (const auto& [index, data] : it->Removed)
                tokens.emplace_back(index, std::make_shared<TToken>(data));
            Group(it->GroupID).RestoreTokens(std::move(tokens));
            it->Removed.clear();
        }
    }

private:
    struct TGroupItems
    {
        QUuid GroupID;
        QSet<QUuid> IDs;
        std::vector<std::pair<qsizetype, TTokenData>> Removed;
    };
    std::vector<TGroupItems> FGroups;
};

} // namespace

TTokenData FreshCopy(const TTokenData& source, const QString& title, TMsecs now)
{
    TTokenData copy = source;
    copy.ID = QUuid::createUuid();
    copy.Fields[int(TTokenField::tfTitle)] = title;
    copy.Created = now;
    copy.Modified = 0;
    copy.History = {CreatedEntry(copy, now)};
    return copy;
}

std::shared_ptr<IOperationOf<IToken>>
MakeAddTokenOperation(const std::shared_ptr<TTokenGroup>& group, TTokenData data)
{
    RequireTexts(data);
    data.Created = NowMsecs();
    data.Modified = 0;
    data.History = {CreatedEntry(data, data.Created)};
    return std::make_shared<TAddTokenOperation>(*group, std::move(data));
}

std::shared_ptr<IOperationOf<IToken>> MakeUpdateTokenOperation(const std::shared_ptr<TToken>& token,
                                                               const TTokenData& edited)
{
    if (!token->IsStored())
        throw std::invalid_argument("The token is not part of the database");
    const TTokenData& before = token->Data();
    TTokenData after = edited;
    after.ID = before.ID;
    after.Created = before.Created;
    after.Modified = before.Modified;
    if (!before.SameValues(after)) {
        after.Modified = NowMsecs();
        THistoryEntryData entry;
        if (ChangedEntry(before, after, after.Modified, entry))
            after.History.prepend(entry);
    }
    RequireTexts(after, &before);
    return std::make_shared<TUpdateTokenOperation>(*token, before, std::move(after));
}

std::shared_ptr<ITokensOperation>
MakeMoveTokensOperation(const TOwnTokens& tokens, const std::shared_ptr<TTokenGroup>& target,
                        const QString& titleCollisionTemplate)
{
    return std::make_shared<TMoveTokensOperation>(tokens, CommonStorageGroup(tokens, target),
                                                  titleCollisionTemplate);
}

std::shared_ptr<ITokensOperation>
MakeCopyTokensOperation(const TOwnTokens& tokens, const std::shared_ptr<TTokenGroup>& target,
                        const QString& titleCollisionTemplate)
{
    return std::make_shared<TCopyTokensOperation>(tokens, CommonStorageGroup(tokens, target),
                                                  titleCollisionTemplate);
}

std::shared_ptr<IOperation> MakeDeleteTokensOperation(const TOwnTokens& tokens)
{
    if (tokens.empty())
        throw std::invalid_argument("No tokens to delete");
    for (const auto& token : tokens)
        if (!token || !token->IsStored() ||
            token->Group()->Storage() != tokens.front()->Group()->Storage())
            throw std::invalid_argument("The tokens are not part of one database");
    return std::make_shared<TDeleteTokensOperation>(tokens);
}

} // namespace Lockwyn
