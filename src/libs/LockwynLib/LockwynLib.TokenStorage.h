#pragma once
// The open database in memory: the group tree, the key the file is sealed
// with and a keyed digest of the master password (never the password), and
// the factories of transfer operations.

#include "LockwynLib.Container.h"
#include "LockwynLib.Interfaces.h"
#include "LockwynLib.SearchIndex.h"

#include <functional>

namespace Lockwyn {

class TTokenGroup;

class TTokenStorage : public ITokenStorage, public std::enable_shared_from_this<TTokenStorage>
{
public:
    // The version number of a format version (GetVersion, GetLoadedVersion).
    static int VersionNumber(TFormatVersion version);

    TTokenStorage();
    TTokenStorage(const TTokenStorage&) = delete;
    TTokenStorage& operator=(const TTokenStorage&) = delete;
    ~TTokenStorage() override;

    TTokenGroup& Root() const { return *FRoot; }
    // Takes over a loaded tree, its key, the digest of the password
    // (KeyedPasswordDigest) and the version it was read with.
    void Load(std::shared_ptr<TTokenGroup> root, TFileKey key, TSecureBuffer passwordDigest,
              TFormatVersion version);
    const TFileKey& Key() const { return FKey; }
    const TSecureBuffer& PasswordDigest() const { return FPasswordDigest; }
    TKdfParams KdfParams() const { return FKdfParams; }
    void SetKdfParams(const TKdfParams& params) { FKdfParams = params; }
    TSearchIndex& SearchIndex() { return FSearchIndex; }
    // Called on every change of the tree.
    void Changed() { FSearchIndex.Invalidate(); }
    // Runs after Clear (the main file wipes the key cache then).
    void SetOnClear(std::function<void()> onClear) { FOnClear = std::move(onClear); }

    std::shared_ptr<ITokenGroup> GetRootGroup() override;
    bool IsMasterPassword(const QString& password) override;
    void SetMasterPassword(const QString& password) override;
    int GetVersion() override { return VersionNumber(CurrentFormatVersion); }
    int GetLoadedVersion() override { return VersionNumber(FLoadedVersion); }
    void Clear() override;
    // Forgets key and password digest; the data stays.
    void WipeSecrets();

    std::shared_ptr<IOperationOf<IToken>>
    CreateMoveTokenOperation(const std::shared_ptr<IToken>& token,
                             const std::shared_ptr<ITokenGroup>& target,
                             const QString& titleCollisionTemplate) override;
    std::shared_ptr<IOperation> CreateDeleteTokensOperation(const ITokenList& tokens) override;
    std::shared_ptr<ITokensOperation>
    CreateMoveTokensOperation(const ITokenList& tokens, const std::shared_ptr<ITokenGroup>& target,
                              const QString& titleCollisionTemplate) override;
    std::shared_ptr<ITokensOperation>
    CreateCopyTokensOperation(const ITokenList& tokens, const std::shared_ptr<ITokenGroup>& target,
                              const QString& titleCollisionTemplate) override;
    std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateMoveGroupOperation(const std::shared_ptr<ITokenGroup>& group,
                             const std::shared_ptr<ITokenGroup>& target,
                             const QString& titleCollisionTemplate) override;
    std::shared_ptr<IOperationOf<ITokenGroup>>
    CreateCopyGroupOperation(const std::shared_ptr<ITokenGroup>& group,
                             const std::shared_ptr<ITokenGroup>& target,
                             const QString& titleCollisionTemplate) override;

private:
    void SetRoot(std::shared_ptr<TTokenGroup> root);
    std::shared_ptr<TTokenGroup> OwnTarget(const std::shared_ptr<ITokenGroup>& group) const;

    std::shared_ptr<TTokenGroup> FRoot;
    TFileKey FKey;
    TSecureBuffer FPasswordDigest;
    TKdfParams FKdfParams = TKdfParams::Default();
    TFormatVersion FLoadedVersion = CurrentFormatVersion;
    std::function<void()> FOnClear;
    TSearchIndex FSearchIndex;
};

// A new, empty root group.
std::shared_ptr<TTokenGroup> NewRootGroup();

} // namespace Lockwyn
