#include "LockwynLib.TokenGroup.h"

#include "LockwynLib.AutoLoginInfo.h"
#include "LockwynLib.Cloning.h"
#include "LockwynLib.CustomProperties.h"
#include "LockwynLib.GroupOperations.h"
#include "LockwynLib.TextSearch.h"
#include "LockwynLib.TitleResolver.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenOperations.h"
#include "LockwynLib.TokenStorage.h"

namespace Lockwyn {

namespace {

constexpr QChar PathSeparator = u'\\';

qsizetype InsertPosition(qsizetype index, std::size_t size)
{
    return index < 0 || std::size_t(index) > size ? qsizetype(size) : index;
}

} // namespace

TTokenGroup::~TTokenGroup()
{
    // Objects that views still hold outlive their group.
    for (auto& token : FTokens)
        token->SetGroup(nullptr);
    for (auto& group : FGroups)
        group->FParent = nullptr;
}

std::shared_ptr<TTokenGroup> TTokenGroup::Build(const TGroupTreeData& tree)
{
    auto group = std::make_shared<TTokenGroup>(tree.Group);
    group->FTokens.reserve(tree.Tokens.size());
    for (const auto& token : tree.Tokens)
        group->InsertToken(-1, std::make_shared<TToken>(token));
    group->FGroups.reserve(tree.Groups.size());
    for (const auto& child : tree.Groups)
        group->InsertGroup(-1, Build(child));
    return group;
}

TGroupTreeData TTokenGroup::Snapshot() const
{
    TGroupTreeData tree;
    tree.Group = FData;
    tree.Tokens.reserve(FTokens.size());
    for (const auto& token : FTokens)
        tree.Tokens.push_back(token->Data());
    tree.Groups.reserve(FGroups.size());
    for (const auto& group : FGroups)
        tree.Groups.push_back(group->Snapshot());
    return tree;
}

TTokenStorage* TTokenGroup::Storage() const
{
    const TTokenGroup* group = this;
    while (group->FParent)
        group = group->FParent;
    return group->FStorage;
}

void TTokenGroup::Changed() const
{
    if (auto* storage = Storage())
        storage->Changed();
}

void TTokenGroup::InsertToken(qsizetype index, std::shared_ptr<TToken> token)
{
    Changed();
    token->SetGroup(this);
    FTokens.insert(FTokens.begin() + InsertPosition(index, FTokens.size()), std::move(token));
}

std::shared_ptr<TToken> TTokenGroup::TakeToken(qsizetype index)
{
    Changed();
    auto token = std::move(FTokens.at(std::size_t(index)));
    FTokens.erase(FTokens.begin() + index);
    token->SetGroup(nullptr);
    return token;
}

std::vector<std::pair<qsizetype, std::shared_ptr<TToken>>>
TTokenGroup::TakeTokens(const QSet<QUuid>& ids)
{
    Changed();
    std::vector<std::pair<qsizetype, std::shared_ptr<TToken>>> taken;
    TTokens kept;
    kept.reserve(FTokens.size());
    for (std::size_t i = 0; i < FTokens.size(); ++i) {
        if (ids.contains(FTokens[i]->Data().ID)) {
            FTokens[i]->SetGroup(nullptr);
            taken.emplace_back(qsizetype(i), std::move(FTokens[i]));
        } else {
            kept.push_back(std::move(FTokens[i]));
        }
    }
    FTokens = std::move(kept);
    return taken;
}

void TTokenGroup::RestoreTokens(std::vector<std::pair<qsizetype, std::shared_ptr<TToken>>> tokens)
{
    Changed();
    TTokens merged;
    merged.reserve(FTokens.size() + tokens.size());
    std::size_t next = 0;
    for (auto& [index, token] : tokens) {
        while (qsizetype(merged.size()) < index && next < FTokens.size())
            merged.push_back(std::move(FTokens[next++]));
        token->SetGroup(this);
        merged.push_back(std::move(token));
    }
    while (next < FTokens.size())
        merged.push_back(std::move(FTokens[next++]));
    FTokens = std::move(merged);
}

qsizetype TTokenGroup::IndexOfToken(const QUuid& id) const
{
    for (std::size_t i = 0; i < FTokens.size(); ++i)
        if (FTokens[i]->Data().ID == id)
            return qsizetype(i);
    return -1;
}

void TTokenGroup::InsertGroup(qsizetype index, std::shared_ptr<TTokenGroup> group)
{
    Changed();
    group->FParent = this;
    group->FStorage = nullptr;
    FGroups.insert(FGroups.begin() + InsertPosition(index, FGroups.size()), std::move(group));
}

std::shared_ptr<TTokenGroup> TTokenGroup::TakeGroup(qsizetype index)
{
    Changed();
    auto group = std::move(FGroups.at(std::size_t(index)));
    FGroups.erase(FGroups.begin() + index);
    group->FParent = nullptr;
    return group;
}

qsizetype TTokenGroup::IndexOfGroup(const QUuid& id) const
{
    for (std::size_t i = 0; i < FGroups.size(); ++i)
        if (FGroups[i]->FData.ID == id)
            return qsizetype(i);
    return -1;
}

TTokenGroup* TTokenGroup::FindGroup(const QUuid& id)
{
    if (FData.ID == id)
        return this;
    for (const auto& group : FGroups)
        if (auto* found = group->FindGroup(id))
            return found;
    return nullptr;
}

std::shared_ptr<TToken> TTokenGroup::FindToken(const QUuid& id) const
{
    for (const auto& token : FTokens)
        if (token->Data().ID == id)
            return token;
    for (const auto& group : FGroups)
        if (auto found = group->FindToken(id))
            return found;
    return nullptr;
}

bool TTokenGroup::Contains(const TTokenGroup* group) const
{
    for (; group; group = group->FParent)
        if (group == this)
            return true;
    return false;
}

std::shared_ptr<ITokenGroup> TTokenGroup::GetParent()
{
    return FParent ? FParent->shared_from_this() : nullptr;
}

QString TTokenGroup::GetPath()
{
    QStringList titles;
    for (const TTokenGroup* group = this; group; group = group->FParent)
        titles.prepend(group->FData.Title);
    return titles.join(PathSeparator);
}

QDateTime TTokenGroup::GetModificationDate()
{
    return ToDateTime(FData.Modified ? FData.Modified : FData.Created);
}

bool TTokenGroup::GetExpired()
{
    return FData.Expires && FData.Expiration <= NowMsecs();
}

bool TTokenGroup::GetTokensExpired()
{
    for (TTokenGroup* group = this; group && group->FParent; group = group->FParent)
        if (group->GetExpired())
            return true;
    return false;
}

std::shared_ptr<ITokenCustomPropertiesTemplate> TTokenGroup::GetCustomPropertiesTemplate()
{
    if (Storage())
        return std::make_shared<TTokenCustomPropertiesTemplate>(
            TListAccess<QString>::ReadOnly(FData.Template));
    return std::make_shared<TTokenCustomPropertiesTemplate>(
        TListAccess<QString>::Live(shared_from_this(), &FData.Template));
}

ITokenList TTokenGroup::GetTokens()
{
    return ITokenList(FTokens.begin(), FTokens.end());
}

ITokenGroupList TTokenGroup::GetGroups()
{
    return ITokenGroupList(FGroups.begin(), FGroups.end());
}

ITokenList TTokenGroup::GetAllTokens()
{
    ITokenList tokens;
    CollectTokens(tokens);
    return tokens;
}

ITokenGroupList TTokenGroup::GetAllGroups()
{
    ITokenGroupList groups;
    CollectGroups(groups);
    return groups;
}

void TTokenGroup::CollectTokens(ITokenList& tokens) const
{
    tokens.append(ITokenList(FTokens.begin(), FTokens.end()));
    for (const auto& group : FGroups)
        group->CollectTokens(tokens);
}

void TTokenGroup::CollectGroups(ITokenGroupList& groups) const
{
    for (const auto& group : FGroups) {
        groups.append(group);
        group->CollectGroups(groups);
    }
}

std::shared_ptr<ITokenGroup> TTokenGroup::FindGroupByID(const QUuid& id, bool recursive)
{
    if (FData.ID == id)
        return shared_from_this();
    if (recursive) {
        auto* found = FindGroup(id);
        return found ? found->shared_from_this() : nullptr;
    }
    const auto index = IndexOfGroup(id);
    return index < 0 ? nullptr : FGroups[std::size_t(index)];
}

std::shared_ptr<IToken> TTokenGroup::FindTokenByID(const QUuid& id, bool recursive)
{
    if (recursive)
        return FindToken(id);
    const auto index = IndexOfToken(id);
    return index < 0 ? nullptr : FTokens[std::size_t(index)];
}

ITokenList TTokenGroup::FindTokens(const QString& text, bool recursive)
{
    ITokenList tokens;
    CollectMatchingTokens(FoldForSearch(text), recursive, tokens);
    return tokens;
}

void TTokenGroup::CollectMatchingTokens(const QByteArray& query, bool recursive,
                                        ITokenList& tokens) const
{
    if (auto* storage = Storage()) {
        for (auto* token : storage->SearchIndex().Find(storage->Root(), *this, query, recursive))
            tokens.append(token->shared_from_this());
        return;
    }
    for (const auto& token : FTokens)
        if (SearchTextContains(TokenSearchText(token->Data()), query))
            tokens.append(token);
    if (recursive)
        for (const auto& group : FGroups)
            group->CollectMatchingTokens(query, true, tokens);
}

bool TTokenGroup::AnyTokenMatches(const QByteArray& query) const
{
    if (auto* storage = Storage())
        return storage->SearchIndex().AnyDirectMatch(storage->Root(), *this, query);
    for (const auto& token : FTokens)
        if (SearchTextContains(TokenSearchText(token->Data()), query))
            return true;
    return false;
}

ITokenGroupList TTokenGroup::FindGroups(const QString& text)
{
    ITokenGroupList groups;
    CollectMatchingGroups(FoldForSearch(text), groups);
    return groups;
}

void TTokenGroup::CollectMatchingGroups(const QByteArray& query, ITokenGroupList& groups) const
{
    for (const auto& group : FGroups) {
        if (group->TitleMatches(query))
            groups.append(group);
        group->CollectMatchingGroups(query, groups);
    }
}

bool TTokenGroup::TitleMatches(const QByteArray& query) const
{
    return SearchTextContains(FoldForSearch(FData.Title), query);
}

ITokenGroupList TTokenGroup::FindGroupsToShow(const QString& text)
{
    ITokenGroupList groups;
    if (!CollectGroupsToShow(FoldForSearch(text), groups))
        groups.prepend(shared_from_this());
    return groups;
}

// Appends the group (before its subgroups) when it is to be shown.
bool TTokenGroup::CollectGroupsToShow(const QByteArray& query, ITokenGroupList& groups)
{
    groups.append(shared_from_this());
    bool show = TitleMatches(query) || AnyTokenMatches(query);
    for (const auto& group : FGroups)
        show = group->CollectGroupsToShow(query, groups) || show;
    if (!show)
        groups.removeLast();
    return show;
}

ITokenGroupList TTokenGroup::GetContainingGroups(const std::shared_ptr<IToken>& token)
{
    auto own = std::dynamic_pointer_cast<TToken>(token);
    return own ? GroupsFrom(own->Group()) : ITokenGroupList();
}

ITokenGroupList TTokenGroup::GetContainingGroups(const std::shared_ptr<ITokenGroup>& group)
{
    auto own = std::dynamic_pointer_cast<TTokenGroup>(group);
    return own ? GroupsFrom(own->FParent) : ITokenGroupList();
}

// The group and its ancestors up to this group; empty when it is not below this group.
ITokenGroupList TTokenGroup::GroupsFrom(TTokenGroup* group)
{
    ITokenGroupList groups;
    for (; group; group = group->FParent) {
        groups.append(group->shared_from_this());
        if (group == this)
            return groups;
    }
    return {};
}

bool TTokenGroup::IsTokenTitleUnique(const QString& title, const std::shared_ptr<IToken>& excluded)
{
    const QUuid excludedID = excluded ? excluded->GetID() : QUuid();
    for (const auto& token : FTokens)
        if (SameTitle(token->Data().Field(TTokenField::tfTitle), title) &&
            (excludedID.isNull() || token->Data().ID != excludedID))
            return false;
    return true;
}

bool TTokenGroup::IsGroupTitleUnique(const QString& title,
                                     const std::shared_ptr<ITokenGroup>& excluded)
{
    const QUuid excludedID = excluded ? excluded->GetID() : QUuid();
    for (const auto& group : FGroups)
        if (SameTitle(group->FData.Title, title) &&
            (excludedID.isNull() || group->FData.ID != excludedID))
            return false;
    return true;
}

void TTokenGroup::FillGroupPaths(QList<TTokenGroupPath>& paths)
{
    CollectGroupPaths(GetPath(), paths);
}

void TTokenGroup::CollectGroupPaths(const QString& path, QList<TTokenGroupPath>& paths)
{
    paths.append({path, shared_from_this()});
    for (const auto& group : FGroups)
        group->CollectGroupPaths(path + PathSeparator + group->FData.Title, paths);
}

QStringList TTokenGroup::GetAllCustomPropertyTitles()
{
    QStringList titles;
    QSet<QString> seen;
    CollectCustomPropertyTitles(titles, seen);
    return titles;
}

// A group's template names first, then its tokens' names, then its subgroups'.
void TTokenGroup::CollectCustomPropertyTitles(QStringList& titles, QSet<QString>& seen) const
{
    const auto add = [&](const QString& name) {
        if (!seen.contains(name)) {
            seen.insert(name);
            titles.append(name);
        }
    };
    for (const QString& name : FData.Template)
        add(name);
    for (const auto& token : FTokens)
        for (const auto& property : token->Data().CustomProperties)
            add(property.GetName());
    for (const auto& group : FGroups)
        group->CollectCustomPropertyTitles(titles, seen);
}

std::shared_ptr<ICloner<ITokenGroup>> TTokenGroup::GetCloner()
{
    return MakeCloner<ITokenGroup>([data = FData] { return std::make_shared<TTokenGroup>(data); });
}

std::shared_ptr<IComparer<ITokenGroup>> TTokenGroup::GetComparer()
{
    return MakeComparer<ITokenGroup>(
        [data = FData](const auto& other) { return data.SameValues(GroupData(other)); });
}

std::shared_ptr<IOperationOf<IToken>> TTokenGroup::CreateAddTokenOperation(
    const QString& title, const QString& userName, const QString& password, const QString& url,
    const QString& notes, bool expires, const QDateTime& expirationDate, bool useManualAutoLogin,
    const std::shared_ptr<ITokenCustomProperties>& customProperties,
    const std::shared_ptr<IAutoLoginInfo>& autoLoginInfo)
{
    TTokenData data;
    data.ID = QUuid::createUuid();
    data.Fields = {title, userName, password, url, notes};
    data.Expires = expires;
    data.Expiration = ToMsecs(expirationDate);
    data.UseManualAutoLogin = useManualAutoLogin;
    data.CustomProperties = CustomPropertyItems(customProperties);
    data.AutoLogin = MakeAutoLoginInfo(AutoLoginValues(autoLoginInfo));
    return MakeAddTokenOperation(OwnGroup(shared_from_this()), std::move(data));
}

std::shared_ptr<IOperationOf<ITokenGroup>>
TTokenGroup::CreateAddGroupOperation(const QString& title, bool expires,
                                     const QDateTime& expirationDate,
                                     const std::shared_ptr<ITokenCustomPropertiesTemplate>& templ)
{
    TGroupData data;
    data.ID = QUuid::createUuid();
    data.Title = title;
    data.Expires = expires;
    data.Expiration = ToMsecs(expirationDate);
    data.Template = TemplateNames(templ);
    return MakeAddGroupOperation(OwnGroup(shared_from_this()), std::move(data));
}

std::shared_ptr<IOperationOf<ITokenGroup>>
TTokenGroup::CreateUpdateOperation(const std::shared_ptr<ITokenGroup>& editedCopy)
{
    return MakeUpdateGroupOperation(OwnGroup(shared_from_this()), GroupData(editedCopy));
}

std::shared_ptr<IOperationOf<ITokenGroup>> TTokenGroup::CreateRenameOperation(const QString& title)
{
    TGroupData data = FData;
    data.Title = title;
    return MakeUpdateGroupOperation(OwnGroup(shared_from_this()), std::move(data));
}

std::shared_ptr<IOperation>
TTokenGroup::CreateDeleteGroupOperation(const std::shared_ptr<ITokenGroup>& group)
{
    auto own = OwnGroup(group);
    if (own->FParent != this)
        throw std::invalid_argument("The group to delete is not a subgroup of this group");
    return MakeDeleteGroupOperation(own);
}

std::shared_ptr<IOperation>
TTokenGroup::CreateImportOperation(const std::shared_ptr<ITokenGroup>& imported, bool newIDs,
                                   const QString& titleCollisionTemplate)
{
    return MakeImportOperation(OwnGroup(shared_from_this()), GroupTreeData(imported), newIDs,
                               titleCollisionTemplate);
}

void TTokenGroup::SetTitle(const QString& value)
{
    if (!IsRoot())
        RequireDetached();
    FData.Title = value;
}

void TTokenGroup::SetExpires(bool value)
{
    RequireDetached();
    FData.Expires = value;
}

void TTokenGroup::SetExpirationDate(const QDateTime& value)
{
    RequireDetached();
    FData.Expiration = ToMsecs(value);
}

void TTokenGroup::SetCreationDate(const QDateTime& value)
{
    RequireDetached();
    FData.Created = ToMsecs(value);
}

void TTokenGroup::SetModificationDate(const QDateTime& value)
{
    RequireDetached();
    FData.Modified = ToMsecs(value);
}

void TTokenGroup::AppendToken(const std::shared_ptr<IToken>& token)
{
    RequireDetached();
    auto own = std::dynamic_pointer_cast<TToken>(token);
    if (!own)
        own = std::make_shared<TToken>(TokenData(token));
    if (own->Group())
        throw std::invalid_argument("The token belongs to a group already");
    InsertToken(-1, std::move(own));
}

void TTokenGroup::AppendGroup(const std::shared_ptr<ITokenGroup>& group)
{
    RequireDetached();
    auto own = std::dynamic_pointer_cast<TTokenGroup>(group);
    if (!own)
        own = Build(GroupTreeData(group));
    if (own->FParent || own->FStorage || own->Contains(this))
        throw std::invalid_argument("The group cannot be added here");
    InsertGroup(-1, std::move(own));
}

void TTokenGroup::RequireDetached() const
{
    if (Storage())
        throw std::logic_error("A stored group changes only through an operation");
}

TGroupData GroupData(const std::shared_ptr<ITokenGroup>& group)
{
    if (!group)
        throw std::invalid_argument("No group");
    if (auto own = std::dynamic_pointer_cast<TTokenGroup>(group))
        return own->Data();
    TGroupData data;
    data.ID = group->GetID();
    data.Title = group->GetTitle();
    data.Created = ToMsecs(group->GetCreationDate());
    data.Modified = group->GetModified() ? ToMsecs(group->GetModificationDate()) : 0;
    data.Expires = group->GetExpires();
    data.Expiration = ToMsecs(group->GetExpirationDate());
    data.Template = TemplateNames(group->GetCustomPropertiesTemplate());
    return data;
}

TGroupTreeData GroupTreeData(const std::shared_ptr<ITokenGroup>& group)
{
    if (auto own = std::dynamic_pointer_cast<TTokenGroup>(group))
        return own->Snapshot();
    TGroupTreeData tree;
    tree.Group = GroupData(group);
    for (const auto& token : group->GetTokens())
        tree.Tokens.push_back(TokenData(token));
    for (const auto& child : group->GetGroups())
        tree.Groups.push_back(GroupTreeData(child));
    return tree;
}

std::shared_ptr<TTokenGroup> OwnGroup(const std::shared_ptr<ITokenGroup>& group)
{
    auto own = std::dynamic_pointer_cast<TTokenGroup>(group);
    if (!own || !own->Storage())
        throw std::invalid_argument("The group is not part of the database");
    return own;
}

} // namespace Lockwyn
