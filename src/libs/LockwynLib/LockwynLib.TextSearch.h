#pragma once
// Case-insensitive substring search without per-query copies of the data:
// every token keeps its searchable text case-folded and UTF-8 encoded once
// (fields separated by NUL); a query folds only the search text. UTF-8 keeps
// substring matches exact because no character's encoding appears inside
// another's.

#include "LockwynLib.ModelData.h"

#include <QByteArray>

namespace Lockwyn {

// The search form of a text (also of a query).
QByteArray FoldForSearch(const QString& text);
// Title, user name, URL, notes, custom property names and values; never the password.
QByteArray TokenSearchText(const TTokenData& token);
void AppendTokenSearchText(const TTokenData& token, QByteArray& out);
// The size of the search text of ASCII values (an estimate for reserving).
qsizetype TokenSearchTextSize(const TTokenData& token);
bool SearchTextContains(const QByteArray& searchText, const QByteArray& foldedQuery);

} // namespace Lockwyn
