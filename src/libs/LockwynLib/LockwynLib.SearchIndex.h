#pragma once
// The search text of every token of a storage in one block, in tree order
// (a group's tokens, then its subgroups), so one search is a few byte searches
// over contiguous memory and a group's tokens are a range of it. Built on the
// first search after a change.

#include <QByteArray>

#include <memory>
#include <vector>

namespace Lockwyn {

class TToken;
class TTokenGroup;

class TSearchIndex
{
public:
    void Invalidate() { FValid = false; }
    // The tokens of the group (and below it when recursive) that contain the
    // folded query, in tree order.
    std::vector<TToken*> Find(const TTokenGroup& root, const TTokenGroup& group,
                              const QByteArray& foldedQuery, bool recursive);
    bool AnyDirectMatch(const TTokenGroup& root, const TTokenGroup& group,
                        const QByteArray& foldedQuery);
    // The search text of one stored token.
    QByteArray TextOf(const TTokenGroup& root, const TToken& token);

private:
    void Ensure(const TTokenGroup& root);
    void Add(const TTokenGroup& group);
    static void Measure(const TTokenGroup& group, qsizetype& size);
    // The slot of the first hit in [begin, end), or end.
    qsizetype NextHit(qsizetype begin, qsizetype end, const QByteArray& foldedQuery) const;

    bool FValid = false;
    QByteArray FText;
    std::vector<qsizetype> FStarts; // per slot, plus the end
    std::vector<TToken*> FTokens;
};

} // namespace Lockwyn
