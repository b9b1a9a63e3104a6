#pragma once
// Operations on tokens: add, update, move, copy, delete.

#include "LockwynLib.ModelData.h"

#include <vector>

namespace Lockwyn {

class TToken;
class TTokenGroup;

using TOwnTokens = std::vector<std::shared_ptr<TToken>>;

std::shared_ptr<IOperationOf<IToken>>
MakeAddTokenOperation(const std::shared_ptr<TTokenGroup>& group, TTokenData data);
std::shared_ptr<IOperationOf<IToken>> MakeUpdateTokenOperation(const std::shared_ptr<TToken>& token,
                                                               const TTokenData& edited);
std::shared_ptr<ITokensOperation>
MakeMoveTokensOperation(const TOwnTokens& tokens, const std::shared_ptr<TTokenGroup>& target,
                        const QString& titleCollisionTemplate);
std::shared_ptr<ITokensOperation>
MakeCopyTokensOperation(const TOwnTokens& tokens, const std::shared_ptr<TTokenGroup>& target,
                        const QString& titleCollisionTemplate);
std::shared_ptr<IOperation> MakeDeleteTokensOperation(const TOwnTokens& tokens);

// A copy as a new token: new ID, created now, its history a "created" entry.
TTokenData FreshCopy(const TTokenData& source, const QString& title, TMsecs now);

} // namespace Lockwyn
