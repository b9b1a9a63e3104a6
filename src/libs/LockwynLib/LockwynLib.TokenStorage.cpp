#include "LockwynLib.TokenStorage.h"

#include "LockwynLib.GroupOperations.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenOperations.h"

namespace Lockwyn {

namespace {

TOwnTokens OwnTokens(const ITokenList& tokens)
{
    TOwnTokens own;
    own.reserve(std::size_t(tokens.size()));
    for (const auto& token : tokens)
        own.push_back(OwnToken(token));
    return own;
}

} // namespace

std::shared_ptr<TTokenGroup> NewRootGroup()
{
    TGroupData data;
    data.ID = QUuid::createUuid();
    data.Created = NowMsecs();
    return std::make_shared<TTokenGroup>(std::move(data));
}

int TTokenStorage::VersionNumber(TFormatVersion version)
{
    return int(version.Major) * 1000 + int(version.Minor);
}

TTokenStorage::TTokenStorage()
{
    SetRoot(NewRootGroup());
}

TTokenStorage::~TTokenStorage()
{
    FRoot->SetStorage(nullptr);
}

void TTokenStorage::SetRoot(std::shared_ptr<TTokenGroup> root)
{
    if (FRoot)
        FRoot->SetStorage(nullptr);
    FRoot = std::move(root);
    FRoot->SetStorage(this);
    Changed();
}

void TTokenStorage::Load(std::shared_ptr<TTokenGroup> root, TFileKey key,
                         TSecureBuffer passwordDigest, TFormatVersion version)
{
    SetRoot(std::move(root));
    FKey = std::move(key);
    FPasswordDigest = std::move(passwordDigest);
    FLoadedVersion = version;
}

std::shared_ptr<ITokenGroup> TTokenStorage::GetRootGroup()
{
    return FRoot;
}

bool TTokenStorage::IsMasterPassword(const QString& password)
{
    return !FPasswordDigest.IsEmpty() &&
           KeyedPasswordDigest(TSecureBuffer::FromString(password)).Equals(FPasswordDigest);
}

void TTokenStorage::SetMasterPassword(const QString& password)
{
    WipeSecrets();
    if (password.isEmpty())
        return;
    const TSecureBuffer secret = TSecureBuffer::FromString(password);
    FKey = TFileKey::Create(secret, FKdfParams);
    if (FKey.IsEmpty())
        throw std::runtime_error("The key derivation failed");
    FPasswordDigest = KeyedPasswordDigest(secret);
}

void TTokenStorage::WipeSecrets()
{
    FKey = TFileKey();
    FPasswordDigest.Clear();
}

void TTokenStorage::Clear()
{
    SetRoot(NewRootGroup());
    WipeSecrets();
    FLoadedVersion = CurrentFormatVersion;
    if (FOnClear)
        FOnClear();
}

std::shared_ptr<TTokenGroup>
TTokenStorage::OwnTarget(const std::shared_ptr<ITokenGroup>& group) const
{
    auto own = OwnGroup(group);
    if (own->Storage() != this)
        throw std::invalid_argument("The group is not part of this database");
    return own;
}

std::shared_ptr<IOperationOf<IToken>>
TTokenStorage::CreateMoveTokenOperation(const std::shared_ptr<IToken>& token,
                                        const std::shared_ptr<ITokenGroup>& target,
                                        const QString& titleCollisionTemplate)
{
    return MakeMoveTokensOperation(OwnTokens({token}), OwnTarget(target), titleCollisionTemplate);
}

std::shared_ptr<IOperation> TTokenStorage::CreateDeleteTokensOperation(const ITokenList& tokens)
{
    auto own = OwnTokens(tokens);
    for (const auto& token : own)
        if (token->Group()->Storage() != this)
            throw std::invalid_argument("The token is not part of this database");
    return MakeDeleteTokensOperation(own);
}

std::shared_ptr<ITokensOperation>
TTokenStorage::CreateMoveTokensOperation(const ITokenList& tokens,
                                         const std::shared_ptr<ITokenGroup>& target,
                                         const QString& titleCollisionTemplate)
{
    return MakeMoveTokensOperation(OwnTokens(tokens), OwnTarget(target), titleCollisionTemplate);
}

std::shared_ptr<ITokensOperation>
TTokenStorage::CreateCopyTokensOperation(const ITokenList& tokens,
                                         const std::shared_ptr<ITokenGroup>& target,
                                         const QString& titleCollisionTemplate)
{
    return MakeCopyTokensOperation(OwnTokens(tokens), OwnTarget(target), titleCollisionTemplate);
}

std::shared_ptr<IOperationOf<ITokenGroup>>
TTokenStorage::CreateMoveGroupOperation(const std::shared_ptr<ITokenGroup>& group,
                                        const std::shared_ptr<ITokenGroup>& target,
                                        const QString& titleCollisionTemplate)
{
    return MakeMoveGroupOperation(OwnTarget(group), OwnTarget(target), titleCollisionTemplate);
}

std::shared_ptr<IOperationOf<ITokenGroup>>
TTokenStorage::CreateCopyGroupOperation(const std::shared_ptr<ITokenGroup>& group,
                                        const std::shared_ptr<ITokenGroup>& target,
                                        const QString& titleCollisionTemplate)
{
    return MakeCopyGroupOperation(OwnTarget(group), OwnTarget(target), titleCollisionTemplate);
}

} // namespace Lockwyn
