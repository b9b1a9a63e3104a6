#pragma once
// A group: its values, its tokens and subgroups in order, searches and
// look-ups below it, and the factories of the operations it offers.

#include "LockwynLib.ModelData.h"

#include <QByteArray>
#include <QSet>

#include <vector>

namespace Lockwyn {

class TToken;
class TTokenStorage;

class TTokenGroup : public ITokenGroup, public std::enable_shared_from_this<TTokenGroup>
{
public:
    using TTokens = std::vector<std::shared_ptr<TToken>>;
    using TGroups = std::vector<std::shared_ptr<TTokenGroup>>;

    explicit TTokenGroup(TGroupData data) : FData(std::move(data)) {}
    TTokenGroup(const TTokenGroup&) = delete;
    TTokenGroup& operator=(const TTokenGroup&) = delete;
    ~TTokenGroup() override;

    // Live objects from values, and values from live objects.
    static std::shared_ptr<TTokenGroup> Build(const TGroupTreeData& tree);
    TGroupTreeData Snapshot() const;

    const TGroupData& Data() const { return FData; }
    void SetData(TGroupData data) { FData = std::move(data); }
    TTokenGroup* Parent() const { return FParent; }
    // The storage the group belongs to; nil for a detached group.
    TTokenStorage* Storage() const;
    // Set on the root group only.
    void SetStorage(TTokenStorage* storage) { FStorage = storage; }
    const TTokens& Tokens() const { return FTokens; }
    const TGroups& Groups() const { return FGroups; }

    void ReserveTokens(qsizetype size) { FTokens.reserve(std::size_t(size)); }
    void ReserveGroups(qsizetype size) { FGroups.reserve(std::size_t(size)); }
    // Structure changes; an index of -1 appends.
    void InsertToken(qsizetype index, std::shared_ptr<TToken> token);
    std::shared_ptr<TToken> TakeToken(qsizetype index);
    // Takes the tokens with these IDs in one pass; with their former indices, ascending.
    std::vector<std::pair<qsizetype, std::shared_ptr<TToken>>> TakeTokens(const QSet<QUuid>& ids);
    // Puts tokens back at the ascending indices TakeTokens reported.
    void RestoreTokens(std::vector<std::pair<qsizetype, std::shared_ptr<TToken>>> tokens);
    qsizetype IndexOfToken(const QUuid& id) const;
    void InsertGroup(qsizetype index, std::shared_ptr<TTokenGroup> group);
    std::shared_ptr<TTokenGroup> TakeGroup(qsizetype index);
    qsizetype IndexOfGroup(const QUuid& id) const;

    // This group or one below it.
    TTokenGroup* FindGroup(const QUuid& id);
    // The group's tokens in the storage's search index: its own from
    // SearchBegin to SearchDirectEnd, those below it up to SearchEnd.
    qsizetype SearchBegin() const { return FSearchBegin; }
    qsizetype SearchDirectEnd() const { return FSearchDirectEnd; }
    qsizetype SearchEnd() const { return FSearchEnd; }
    void SetSearchRange(qsizetype begin, qsizetype directEnd) const
    {
        FSearchBegin = begin;
        FSearchDirectEnd = directEnd;
    }
    void SetSearchEnd(qsizetype end) const { FSearchEnd = end; }
    std::shared_ptr<TToken> FindToken(const QUuid& id) const;
    bool Contains(const TTokenGroup* group) const;

    QUuid GetID() override { return FData.ID; }
    std::shared_ptr<ITokenGroup> GetParent() override;
    QString GetTitle() override { return FData.Title; }
    QString GetPath() override;
    QDateTime GetCreationDate() override { return ToDateTime(FData.Created); }
    QDateTime GetModificationDate() override;
    QDateTime GetExpirationDate() override { return ToDateTime(FData.Expiration); }
    bool GetModified() override { return FData.Modified != 0; }
    bool GetExpires() override { return FData.Expires; }
    bool GetExpired() override;
    bool GetTokensExpired() override;
    std::shared_ptr<ITokenCustomPropertiesTemplate> GetCustomPropertiesTemplate() override;

    ITokenList GetTokens() override;
    ITokenGroupList GetGroups() override;
    ITokenList GetAllTokens() override;
    ITokenGroupList GetAllGroups() override;

    std::shared_ptr<ITokenGroup> FindGroupByID(const QUuid& id, bool recursive) override;
    std::shared_ptr<IToken> FindTokenByID(const QUuid& id, bool recursive) override;

    ITokenList FindTokens(const QString& text, bool recursive) override;
    ITokenGroupList FindGroups(const QString& text) override;
    ITokenGroupList FindGroupsToShow(const QString& text) override;
    ITokenGroupList GetContainingGroups(const std::shared_ptr<IToken>& token) override;
    ITokenGroupList GetContainingGroups(const std::shared_ptr<ITokenGroup>& group) override;

    bool IsTokenTitleUnique(const QString& title, const std::shared_ptr<IToken>& excluded) override;
    bool IsGroupTitleUnique(const QString& title,
                            const std::shared_ptr<ITokenGroup>& excluded) override;

    void FillGroupPaths(QList<TTokenGroupPath>& paths) override;
    QStringList GetAllCustomPropertyTitles() override;

    std::shared_ptr<ICloner<ITokenGroup>> GetCloner() override;
    std::shared_ptr<IComparer<ITokenGroup>> GetComparer() override;

    std::shared_ptr<IOperationOf<IToken>>
    CreateAddTokenOperation(const QString& title, const QString& userName, const QString& password,
                            const QString& url, const QString& notes, bool expires,
                            const QDateTime& expirationDate, bool useManualAutoLogin,
                            const std::shared_ptr<ITokenCustomProperties>& customProperties,
                            const std::shared_ptr<IAutoLoginInfo>& autoLoginInfo) override;
    std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateAddGroupOperation(const QString& title, bool expires, const QDateTime& expirationDate,
                            const std::shared_ptr<ITokenCustomPropertiesTemplate>& templ) override;
    std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateUpdateOperation(const std::shared_ptr<ITokenGroup>& editedCopy) override;
    std::shared_ptr<IOperationOf<ITokenGroup>> CreateRenameOperation(const QString& title) override;
    std::shared_ptr<IOperation>
    CreateDeleteGroupOperation(const std::shared_ptr<ITokenGroup>& group) override;
    std::shared_ptr<IOperation>
    CreateImportOperation(const std::shared_ptr<ITokenGroup>& imported, bool newIDs,
                          const QString& titleCollisionTemplate) override;

    void SetTitle(const QString& value) override;
    void SetExpires(bool value) override;
    void SetExpirationDate(const QDateTime& value) override;
    void SetCreationDate(const QDateTime& value) override;
    void SetModificationDate(const QDateTime& value) override;
    void AppendToken(const std::shared_ptr<IToken>& token) override;
    void AppendGroup(const std::shared_ptr<ITokenGroup>& group) override;

private:
    void RequireDetached() const;
    bool IsRoot() const { return FStorage != nullptr; }
    void CollectTokens(ITokenList& tokens) const;
    void CollectGroups(ITokenGroupList& groups) const;
    void CollectMatchingTokens(const QByteArray& query, bool recursive, ITokenList& tokens) const;
    bool AnyTokenMatches(const QByteArray& query) const;
    void Changed() const;
    void CollectMatchingGroups(const QByteArray& query, ITokenGroupList& groups) const;
    bool CollectGroupsToShow(const QByteArray& query, ITokenGroupList& groups);
    void CollectGroupPaths(const QString& path, QList<TTokenGroupPath>& paths);
    void CollectCustomPropertyTitles(QStringList& titles, QSet<QString>& seen) const;
    ITokenGroupList GroupsFrom(TTokenGroup* group);
    bool TitleMatches(const QByteArray& query) const;

    TGroupData FData;
    TTokenGroup* FParent = nullptr;
    TTokenStorage* FStorage = nullptr;
    TTokens FTokens;
    TGroups FGroups;
    mutable qsizetype FSearchBegin = 0;
    mutable qsizetype FSearchDirectEnd = 0;
    mutable qsizetype FSearchEnd = 0;
};

// The values of any group implementation, with everything below it.
TGroupTreeData GroupTreeData(const std::shared_ptr<ITokenGroup>& group);
TGroupData GroupData(const std::shared_ptr<ITokenGroup>& group);
std::shared_ptr<TTokenGroup> OwnGroup(const std::shared_ptr<ITokenGroup>& group);

} // namespace Lockwyn
