#include "LockwynLib.Token.h"

#include "LockwynLib.AutoLoginInfo.h"
#include "LockwynLib.Cloning.h"
#include "LockwynLib.CustomProperties.h"
#include "LockwynLib.TextSearch.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenHistory.h"
#include "LockwynLib.TokenOperations.h"
#include "LockwynLib.TokenStorage.h"

namespace Lockwyn {

namespace {

class TTokenMatcher : public ITokenMatcher
{
public:
    explicit TTokenMatcher(QByteArray searchText) : FSearchText(std::move(searchText)) {}
    bool Matches(const QString& text) override
    {
        return SearchTextContains(FSearchText, FoldForSearch(text));
    }

private:
    QByteArray FSearchText;
};

} // namespace

TToken::TToken(TTokenData data) : FData(std::move(data)) {}

void TToken::SetData(TTokenData data)
{
    FData = std::move(data);
    if (auto* storage = FGroup ? FGroup->Storage() : nullptr)
        storage->Changed();
}

bool TToken::IsStored() const
{
    return FGroup && FGroup->Storage();
}

std::shared_ptr<ITokenGroup> TToken::GetGroup()
{
    return FGroup ? FGroup->shared_from_this() : nullptr;
}

QDateTime TToken::GetModificationDate()
{
    return ToDateTime(FData.Modified ? FData.Modified : FData.Created);
}

bool TToken::GetExpired()
{
    return FData.Expires && FData.Expiration <= NowMsecs();
}

std::shared_ptr<ITokenCustomProperties> TToken::GetCustomProperties()
{
    if (IsStored())
        return std::make_shared<TTokenCustomProperties>(
            TListAccess<TTokenCustomProperty>::ReadOnly(FData.CustomProperties));
    return std::make_shared<TTokenCustomProperties>(
        TListAccess<TTokenCustomProperty>::Live(shared_from_this(), &FData.CustomProperties));
}

std::shared_ptr<ITokenMatcher> TToken::GetMatcher()
{
    auto* storage = FGroup ? FGroup->Storage() : nullptr;
    return std::make_shared<TTokenMatcher>(
        storage ? storage->SearchIndex().TextOf(storage->Root(), *this) : TokenSearchText(FData));
}

std::shared_ptr<ITokenHistory> TToken::GetHistory()
{
    if (IsStored())
        return std::make_shared<TTokenHistory>(
            TListAccess<THistoryEntryData>::ReadOnly(FData.History));
    return std::make_shared<TTokenHistory>(
        TListAccess<THistoryEntryData>::Live(shared_from_this(), &FData.History));
}

std::shared_ptr<IAutoLoginInfo> TToken::GetAutoLoginInfo()
{
    return FData.AutoLogin ? FData.AutoLogin : std::make_shared<TAutoLoginInfo>();
}

std::shared_ptr<ICloner<IToken>> TToken::GetCloner()
{
    return MakeCloner<IToken>([data = FData] { return std::make_shared<TToken>(data); });
}

std::shared_ptr<IComparer<IToken>> TToken::GetComparer()
{
    return MakeComparer<IToken>(
        [data = FData](const auto& other) { return data.SameValues(TokenData(other)); });
}

std::shared_ptr<IOperationOf<IToken>>
TToken::CreateUpdateOperation(const std::shared_ptr<IToken>& editedCopy)
{
    return MakeUpdateTokenOperation(shared_from_this(), TokenData(editedCopy));
}

void TToken::SetExpires(bool value)
{
    RequireDetached();
    FData.Expires = value;
}

void TToken::SetExpirationDate(const QDateTime& value)
{
    RequireDetached();
    FData.Expiration = ToMsecs(value);
}

void TToken::SetCreationDate(const QDateTime& value)
{
    RequireDetached();
    FData.Created = ToMsecs(value);
}

void TToken::SetModificationDate(const QDateTime& value)
{
    RequireDetached();
    FData.Modified = ToMsecs(value);
}

void TToken::SetUseManualAutoLogin(bool value)
{
    RequireDetached();
    FData.UseManualAutoLogin = value;
}

void TToken::SetAutoLoginInfo(const std::shared_ptr<IAutoLoginInfo>& value)
{
    RequireDetached();
    FData.AutoLogin = MakeAutoLoginInfo(AutoLoginValues(value));
}

void TToken::SetField(TTokenField field, const QString& value)
{
    RequireDetached();
    FData.Fields[int(field)] = value;
}

void TToken::RequireDetached() const
{
    if (IsStored())
        throw std::logic_error("A stored token changes only through an operation");
}

TTokenData TokenData(const std::shared_ptr<IToken>& token)
{
    if (!token)
        throw std::invalid_argument("No token");
    if (auto own = std::dynamic_pointer_cast<TToken>(token))
        return own->Data();
    TTokenData data;
    data.ID = token->GetID();
    data.Fields = {token->GetTitle(), token->GetUserName(), token->GetPassword(), token->GetURL(),
                   token->GetNotes()};
    data.Created = ToMsecs(token->GetCreationDate());
    data.Modified = token->GetModified() ? ToMsecs(token->GetModificationDate()) : 0;
    data.Expires = token->GetExpires();
    data.Expiration = ToMsecs(token->GetExpirationDate());
    data.UseManualAutoLogin = token->GetUseManualAutoLogin();
    data.CustomProperties = CustomPropertyItems(token->GetCustomProperties());
    data.History = HistoryEntries(token->GetHistory());
    data.AutoLogin = MakeAutoLoginInfo(AutoLoginValues(token->GetAutoLoginInfo()));
    return data;
}

std::shared_ptr<TToken> OwnToken(const std::shared_ptr<IToken>& token)
{
    auto own = std::dynamic_pointer_cast<TToken>(token);
    if (!own || !own->IsStored())
        throw std::invalid_argument("The token is not part of the database");
    return own;
}

} // namespace Lockwyn
