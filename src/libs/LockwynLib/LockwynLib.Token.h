#pragma once
// A token: its values, the group holding it and its search text.

#include "LockwynLib.ModelData.h"

namespace Lockwyn {

class TTokenGroup;

class TToken : public IToken, public std::enable_shared_from_this<TToken>
{
public:
    explicit TToken(TTokenData data);

    const TTokenData& Data() const { return FData; }
    void SetData(TTokenData data);
    TTokenGroup* Group() const { return FGroup; }
    void SetGroup(TTokenGroup* group) { FGroup = group; }
    // Held by a group of a storage (changes only through operations).
    bool IsStored() const;
    // Where the storage's search index keeps the token's text.
    qsizetype SearchSlot() const { return FSearchSlot; }
    void SetSearchSlot(qsizetype slot) const { FSearchSlot = slot; }

    QUuid GetID() override { return FData.ID; }
    std::shared_ptr<ITokenGroup> GetGroup() override;
    QString GetTitle() override { return FData.Field(TTokenField::tfTitle); }
    QString GetUserName() override { return FData.Field(TTokenField::tfUserName); }
    QString GetPassword() override { return FData.Field(TTokenField::tfPassword); }
    QString GetURL() override { return FData.Field(TTokenField::tfURL); }
    QString GetNotes() override { return FData.Field(TTokenField::tfNotes); }
    QDateTime GetCreationDate() override { return ToDateTime(FData.Created); }
    QDateTime GetModificationDate() override;
    QDateTime GetExpirationDate() override { return ToDateTime(FData.Expiration); }
    bool GetModified() override { return FData.Modified != 0; }
    bool GetExpires() override { return FData.Expires; }
    bool GetExpired() override;
    std::shared_ptr<ITokenCustomProperties> GetCustomProperties() override;
    std::shared_ptr<ITokenMatcher> GetMatcher() override;
    std::shared_ptr<ITokenHistory> GetHistory() override;
    bool GetUseManualAutoLogin() override { return FData.UseManualAutoLogin; }
    std::shared_ptr<IAutoLoginInfo> GetAutoLoginInfo() override;
    std::shared_ptr<ICloner<IToken>> GetCloner() override;
    std::shared_ptr<IComparer<IToken>> GetComparer() override;
    std::shared_ptr<IOperationOf<IToken>>
    CreateUpdateOperation(const std::shared_ptr<IToken>& editedCopy) override;

    void SetTitle(const QString& value) override { SetField(TTokenField::tfTitle, value); }
    void SetUserName(const QString& value) override { SetField(TTokenField::tfUserName, value); }
    void SetPassword(const QString& value) override { SetField(TTokenField::tfPassword, value); }
    void SetURL(const QString& value) override { SetField(TTokenField::tfURL, value); }
    void SetNotes(const QString& value) override { SetField(TTokenField::tfNotes, value); }
    void SetExpires(bool value) override;
    void SetExpirationDate(const QDateTime& value) override;
    void SetCreationDate(const QDateTime& value) override;
    void SetModificationDate(const QDateTime& value) override;
    void SetUseManualAutoLogin(bool value) override;
    void SetAutoLoginInfo(const std::shared_ptr<IAutoLoginInfo>& value) override;

private:
    void SetField(TTokenField field, const QString& value);
    void RequireDetached() const;

    TTokenData FData;
    TTokenGroup* FGroup = nullptr;
    mutable qsizetype FSearchSlot = -1;
};

// The values of any IToken implementation.
TTokenData TokenData(const std::shared_ptr<IToken>& token);
std::shared_ptr<TToken> OwnToken(const std::shared_ptr<IToken>& token);

} // namespace Lockwyn
