#include "LockwynLib.TextSearch.h"

#include <cstring>

namespace Lockwyn {

QByteArray FoldForSearch(const QString& text)
{
    return text.toCaseFolded().toUtf8();
}

QByteArray TokenSearchText(const TTokenData& token)
{
    QString joined;
    qsizetype size = 0;
    for (auto field :
         {TTokenField::tfTitle, TTokenField::tfUserName, TTokenField::tfURL, TTokenField::tfNotes})
        size += token.Field(field).size() + 1;
    for (const auto& property : token.CustomProperties)
        size += property.GetName().size() + property.GetValue().size() + 2;
    joined.reserve(size);
    for (auto field : {TTokenField::tfTitle, TTokenField::tfUserName, TTokenField::tfURL,
                       TTokenField::tfNotes}) {
        joined += token.Field(field);
        joined += QChar(0);
    }
    for (const auto& property : token.CustomProperties) {
        joined += property.GetName();
        joined += QChar(0);
        joined += property.GetValue();
        joined += QChar(0);
    }
    return FoldForSearch(joined);
}

bool SearchTextContains(const QByteArray& searchText, const QByteArray& foldedQuery)
{
    if (foldedQuery.isEmpty())
        return true;
    if (foldedQuery.contains('\0'))
        return false;
    return memmem(searchText.constData(), size_t(searchText.size()), foldedQuery.constData(),
                  size_t(foldedQuery.size())) != nullptr;
}

} // namespace Lockwyn
