#pragma once
// An imported tree: the storage library's own detached objects, wrapped so that
// they answer the creation and modification dates read from the file (the
// library's detached objects take both from the clock and offer no setters).
// The library's import operation reads foreign objects through their getters,
// so the dates reach the database. Every other call goes to the wrapped object.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

// Invalid dates leave the wrapped object's own.
struct TImportedDates
{
    QDateTime Created;
    QDateTime Modified;
};

class TImportedToken : public IToken
{
public:
    TImportedToken(std::shared_ptr<IToken> inner, TImportedDates dates);
    const std::shared_ptr<IToken>& Inner() const { return FInner; }

    QUuid GetID() override { return FInner->GetID(); }
    std::shared_ptr<ITokenGroup> GetGroup() override { return FInner->GetGroup(); }
    QString GetTitle() override { return FInner->GetTitle(); }
    QString GetUserName() override { return FInner->GetUserName(); }
    QString GetPassword() override { return FInner->GetPassword(); }
    QString GetURL() override { return FInner->GetURL(); }
    QString GetNotes() override { return FInner->GetNotes(); }
    QDateTime GetCreationDate() override;
    QDateTime GetModificationDate() override;
    QDateTime GetExpirationDate() override { return FInner->GetExpirationDate(); }
    bool GetModified() override;
    bool GetExpires() override { return FInner->GetExpires(); }
    bool GetExpired() override { return FInner->GetExpired(); }
    std::shared_ptr<ITokenCustomProperties> GetCustomProperties() override
    {
        return FInner->GetCustomProperties();
    }
    std::shared_ptr<ITokenMatcher> GetMatcher() override { return FInner->GetMatcher(); }
    std::shared_ptr<ITokenHistory> GetHistory() override { return FInner->GetHistory(); }
    bool GetUseManualAutoLogin() override { return FInner->GetUseManualAutoLogin(); }
    std::shared_ptr<IAutoLoginInfo> GetAutoLoginInfo() override
    {
        return FInner->GetAutoLoginInfo();
    }
    std::shared_ptr<ICloner<IToken>> GetCloner() override { return FInner->GetCloner(); }
    std::shared_ptr<IComparer<IToken>> GetComparer() override { return FInner->GetComparer(); }
    std::shared_ptr<IOperationOf<IToken>>
    CreateUpdateOperation(const std::shared_ptr<IToken>& editedCopy) override
    {
        return FInner->CreateUpdateOperation(editedCopy);
    }
    void SetTitle(const QString& value) override { FInner->SetTitle(value); }
    void SetUserName(const QString& value) override { FInner->SetUserName(value); }
    void SetPassword(const QString& value) override { FInner->SetPassword(value); }
    void SetURL(const QString& value) override { FInner->SetURL(value); }
    void SetNotes(const QString& value) override { FInner->SetNotes(value); }
    void SetExpires(bool value) override { FInner->SetExpires(value); }
    void SetExpirationDate(const QDateTime& value) override { FInner->SetExpirationDate(value); }
    void SetUseManualAutoLogin(bool value) override { FInner->SetUseManualAutoLogin(value); }
    void SetAutoLoginInfo(const std::shared_ptr<IAutoLoginInfo>& value) override
    {
        FInner->SetAutoLoginInfo(value);
    }

private:
    std::shared_ptr<IToken> FInner;
    TImportedDates FDates;
};

// GetTokens and GetGroups answer the wrapped children; look-ups and searches
// answer the wrapped group's own objects.
class TImportedGroup : public ITokenGroup
{
public:
    TImportedGroup(std::shared_ptr<ITokenGroup> inner, TImportedDates dates);

    QUuid GetID() override { return FInner->GetID(); }
    std::shared_ptr<ITokenGroup> GetParent() override { return FInner->GetParent(); }
    QString GetTitle() override { return FInner->GetTitle(); }
    QString GetPath() override { return FInner->GetPath(); }
    QDateTime GetCreationDate() override;
    QDateTime GetModificationDate() override;
    QDateTime GetExpirationDate() override { return FInner->GetExpirationDate(); }
    bool GetModified() override;
    bool GetExpires() override { return FInner->GetExpires(); }
    bool GetExpired() override { return FInner->GetExpired(); }
    bool GetTokensExpired() override { return FInner->GetTokensExpired(); }
    std::shared_ptr<ITokenCustomPropertiesTemplate> GetCustomPropertiesTemplate() override
    {
        return FInner->GetCustomPropertiesTemplate();
    }
    ITokenList GetTokens() override { return FTokens; }
    ITokenGroupList GetGroups() override { return FGroups; }
    ITokenList GetAllTokens() override;
    ITokenGroupList GetAllGroups() override;
    std::shared_ptr<ITokenGroup> FindGroupByID(const QUuid& id, bool recursive = true) override
    {
        return FInner->FindGroupByID(id, recursive);
    }
    std::shared_ptr<IToken> FindTokenByID(const QUuid& id, bool recursive = true) override
    {
        return FInner->FindTokenByID(id, recursive);
    }
    ITokenList FindTokens(const QString& text, bool recursive) override
    {
        return FInner->FindTokens(text, recursive);
    }
    ITokenGroupList FindGroups(const QString& text) override { return FInner->FindGroups(text); }
    ITokenGroupList FindGroupsToShow(const QString& text) override
    {
        return FInner->FindGroupsToShow(text);
    }
    ITokenGroupList GetContainingGroups(const std::shared_ptr<IToken>& token) override
    {
        return FInner->GetContainingGroups(token);
    }
    ITokenGroupList GetContainingGroups(const std::shared_ptr<ITokenGroup>& group) override
    {
        return FInner->GetContainingGroups(group);
    }
    bool IsTokenTitleUnique(const QString& title,
                            const std::shared_ptr<IToken>& excluded = nullptr) override
    {
        return FInner->IsTokenTitleUnique(title, excluded);
    }
    bool IsGroupTitleUnique(const QString& title,
                            const std::shared_ptr<ITokenGroup>& excluded = nullptr) override
    {
        return FInner->IsGroupTitleUnique(title, excluded);
    }
    void FillGroupPaths(QList<TTokenGroupPath>& paths) override { FInner->FillGroupPaths(paths); }
    QStringList GetAllCustomPropertyTitles() override
    {
        return FInner->GetAllCustomPropertyTitles();
    }
    std::shared_ptr<ICloner<ITokenGroup>> GetCloner() override { return FInner->GetCloner(); }
    std::shared_ptr<IComparer<ITokenGroup>> GetComparer() override { return FInner->GetComparer(); }
    std::shared_ptr<IOperationOf<IToken>>
    CreateAddTokenOperation(const QString& title, const QString& userName, const QString& password,
                            const QString& url, const QString& notes, bool expires,
                            const QDateTime& expirationDate, bool useManualAutoLogin,
                            const std::shared_ptr<ITokenCustomProperties>& customProperties,
                            const std::shared_ptr<IAutoLoginInfo>& autoLoginInfo) override
    {
        return FInner->CreateAddTokenOperation(title, userName, password, url, notes, expires,
                                               expirationDate, useManualAutoLogin, customProperties,
                                               autoLoginInfo);
    }
    std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateAddGroupOperation(const QString& title, bool expires, const QDateTime& expirationDate,
                            const std::shared_ptr<ITokenCustomPropertiesTemplate>& templ) override
    {
        return FInner->CreateAddGroupOperation(title, expires, expirationDate, templ);
    }
    std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateUpdateOperation(const std::shared_ptr<ITokenGroup>& editedCopy) override
    {
        return FInner->CreateUpdateOperation(editedCopy);
    }
    std::shared_ptr<IOperationOf<ITokenGroup>> CreateRenameOperation(const QString& title) override
    {
        return FInner->CreateRenameOperation(title);
    }
    std::shared_ptr<IOperation>
    CreateDeleteGroupOperation(const std::shared_ptr<ITokenGroup>& group) override
    {
        return FInner->CreateDeleteGroupOperation(group);
    }
    std::shared_ptr<IOperation>
    CreateImportOperation(const std::shared_ptr<ITokenGroup>& imported, bool newIDs,
                          const QString& titleCollisionTemplate) override
    {
        return FInner->CreateImportOperation(imported, newIDs, titleCollisionTemplate);
    }
    void SetTitle(const QString& value) override { FInner->SetTitle(value); }
    void SetExpires(bool value) override { FInner->SetExpires(value); }
    void SetExpirationDate(const QDateTime& value) override { FInner->SetExpirationDate(value); }
    // The wrapped group takes the wrapped object; this one keeps the wrapper.
    void AppendToken(const std::shared_ptr<IToken>& token) override;
    void AppendGroup(const std::shared_ptr<ITokenGroup>& group) override;

private:
    std::shared_ptr<ITokenGroup> FInner;
    TImportedDates FDates;
    ITokenList FTokens;
    ITokenGroupList FGroups;
};

} // namespace Lockwyn
