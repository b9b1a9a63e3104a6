#include "ConvertLib.ImportedTree.h"

namespace Lockwyn {

namespace {

QDateTime Either(const QDateTime& own, const QDateTime& inner)
{
    return own.isValid() ? own : inner;
}

} // namespace

TImportedToken::TImportedToken(std::shared_ptr<IToken> inner, TImportedDates dates)
    : FInner(std::move(inner)), FDates(std::move(dates))
{
}

QDateTime TImportedToken::GetCreationDate()
{
    return Either(FDates.Created, FInner->GetCreationDate());
}

QDateTime TImportedToken::GetModificationDate()
{
    return Either(FDates.Modified, GetCreationDate());
}

bool TImportedToken::GetModified()
{
    return GetModificationDate() != GetCreationDate();
}

TImportedGroup::TImportedGroup(std::shared_ptr<ITokenGroup> inner, TImportedDates dates)
    : FInner(std::move(inner)), FDates(std::move(dates))
{
}

QDateTime TImportedGroup::GetCreationDate()
{
    return Either(FDates.Created, FInner->GetCreationDate());
}

QDateTime TImportedGroup::GetModificationDate()
{
    return Either(FDates.Modified, GetCreationDate());
}

bool TImportedGroup::GetModified()
{
    return GetModificationDate() != GetCreationDate();
}

ITokenList TImportedGroup::GetAllTokens()
{
    ITokenList tokens;
    for (const auto& group : GetAllGroups())
        tokens += group->GetTokens();
    return FTokens + tokens;
}

ITokenGroupList TImportedGroup::GetAllGroups()
{
    ITokenGroupList groups;
    for (const auto& group : FGroups) {
        groups.append(group);
        groups += group->GetAllGroups();
    }
    return groups;
}

void TImportedGroup::AppendToken(const std::shared_ptr<IToken>& token)
{
    const auto imported = std::dynamic_pointer_cast<TImportedToken>(token);
    FInner->AppendToken(imported ? imported->Inner() : token);
    FTokens.append(token);
}

void TImportedGroup::AppendGroup(const std::shared_ptr<ITokenGroup>& group)
{
    const auto imported = std::dynamic_pointer_cast<TImportedGroup>(group);
    FInner->AppendGroup(imported ? imported->FInner : group);
    FGroups.append(group);
}

} // namespace Lockwyn
