#pragma once
// Operations on groups: add, update (and rename), delete, move, copy, import.

#include "LockwynLib.ModelData.h"

namespace Lockwyn {

class TTokenGroup;

std::shared_ptr<IOperationOf<ITokenGroup>>
MakeAddGroupOperation(const std::shared_ptr<TTokenGroup>& parent, TGroupData data);
std::shared_ptr<IOperationOf<ITokenGroup>>
MakeUpdateGroupOperation(const std::shared_ptr<TTokenGroup>& group, const TGroupData& edited);
std::shared_ptr<IOperation> MakeDeleteGroupOperation(const std::shared_ptr<TTokenGroup>& group);
std::shared_ptr<IOperationOf<ITokenGroup>>
MakeMoveGroupOperation(const std::shared_ptr<TTokenGroup>& group,
                       const std::shared_ptr<TTokenGroup>& target,
                       const QString& titleCollisionTemplate);
std::shared_ptr<IOperationOf<ITokenGroup>>
MakeCopyGroupOperation(const std::shared_ptr<TTokenGroup>& group,
                       const std::shared_ptr<TTokenGroup>& target,
                       const QString& titleCollisionTemplate);
std::shared_ptr<IOperation> MakeImportOperation(const std::shared_ptr<TTokenGroup>& target,
                                                TGroupTreeData imported, bool newIDs,
                                                const QString& titleCollisionTemplate);

} // namespace Lockwyn
