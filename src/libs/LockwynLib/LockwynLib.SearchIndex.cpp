#include "LockwynLib.SearchIndex.h"

#include "LockwynLib.TextSearch.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"
#include "Platform.Memory.h"

#include <algorithm>
#include <cstring>

namespace Lockwyn {

void TSearchIndex::Ensure(const TTokenGroup& root)
{
    if (FValid)
        return;
    FText.clear();
    FStarts.clear();
    FTokens.clear();
    qsizetype size = 0;
    Measure(root, size);
    FText.reserve(size + size / 8);
    Add(root);
    FStarts.push_back(FText.size());
    FText.squeeze();
    FValid = true;
}

void TSearchIndex::Add(const TTokenGroup& group)
{
    group.SetSearchRange(qsizetype(FTokens.size()),
                         qsizetype(FTokens.size() + group.Tokens().size()));
    for (const auto& token : group.Tokens()) {
        token->SetSearchSlot(qsizetype(FTokens.size()));
        FStarts.push_back(FText.size());
        FTokens.push_back(token.get());
        AppendTokenSearchText(token->Data(), FText);
    }
    for (const auto& child : group.Groups())
        Add(*child);
    group.SetSearchEnd(qsizetype(FTokens.size()));
}

void TSearchIndex::Measure(const TTokenGroup& group, qsizetype& size)
{
    for (const auto& token : group.Tokens())
        size += TokenSearchTextSize(token->Data());
    for (const auto& child : group.Groups())
        Measure(*child, size);
}

qsizetype TSearchIndex::NextHit(qsizetype begin, qsizetype end, const QByteArray& foldedQuery) const
{
    if (begin >= end)
        return end;
    if (foldedQuery.isEmpty())
        return begin;
    if (foldedQuery.contains('\0'))
        return end;
    const char* base = FText.constData();
    const char* from = base + FStarts[std::size_t(begin)];
    const char* to = base + FStarts[std::size_t(end)];
    const char* hit = Platform::FindBytes(from, std::size_t(to - from), foldedQuery.constData(),
                                          std::size_t(foldedQuery.size()));
    if (!hit)
        return end;
    const qsizetype offset = hit - base;
    const auto slot = std::upper_bound(FStarts.begin(), FStarts.end(), offset) - FStarts.begin();
    return qsizetype(slot) - 1;
}

std::vector<TToken*> TSearchIndex::Find(const TTokenGroup& root, const TTokenGroup& group,
                                        const QByteArray& foldedQuery, bool recursive)
{
    Ensure(root);
    std::vector<TToken*> found;
    const qsizetype end = recursive ? group.SearchEnd() : group.SearchDirectEnd();
    for (qsizetype slot = NextHit(group.SearchBegin(), end, foldedQuery); slot < end;
         slot = NextHit(slot + 1, end, foldedQuery))
        found.push_back(FTokens[std::size_t(slot)]);
    return found;
}

bool TSearchIndex::AnyDirectMatch(const TTokenGroup& root, const TTokenGroup& group,
                                  const QByteArray& foldedQuery)
{
    Ensure(root);
    return NextHit(group.SearchBegin(), group.SearchDirectEnd(), foldedQuery) <
           group.SearchDirectEnd();
}

QByteArray TSearchIndex::TextOf(const TTokenGroup& root, const TToken& token)
{
    Ensure(root);
    const auto slot = std::size_t(token.SearchSlot());
    return FText.mid(FStarts[slot], FStarts[slot + 1] - FStarts[slot]);
}

} // namespace Lockwyn
