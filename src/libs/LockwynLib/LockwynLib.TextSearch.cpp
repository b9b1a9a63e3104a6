#include "LockwynLib.TextSearch.h"

#include "Platform.Memory.h"

namespace Lockwyn {

QByteArray FoldForSearch(const QString& text)
{
    return text.toCaseFolded().toUtf8();
}

namespace {

// ASCII is folded in place; other text takes Qt's case folding.
void AppendFolded(const QString& text, QByteArray& out)
{
    const char16_t* chars = QStringView(text).utf16();
    const qsizetype size = text.size();
    for (qsizetype i = 0; i < size; ++i) {
        if (chars[i] >= 0x80) {
            out += FoldForSearch(text);
            return;
        }
    }
    const qsizetype at = out.size();
    out.resize(at + size);
    char* target = out.data() + at;
    for (qsizetype i = 0; i < size; ++i) {
        const char16_t c = chars[i];
        target[i] = char(c >= u'A' && c <= u'Z' ? c + 32 : c);
    }
}

template <typename F> void ForEachSearchedText(const TTokenData& token, F&& onText)
{
    for (auto field :
         {TTokenField::tfTitle, TTokenField::tfUserName, TTokenField::tfURL, TTokenField::tfNotes})
        onText(token.Field(field));
    for (const auto& property : token.CustomProperties) {
        onText(property.GetName());
        onText(property.GetValue());
    }
}

} // namespace

void AppendTokenSearchText(const TTokenData& token, QByteArray& out)
{
    ForEachSearchedText(token, [&](const QString& text) {
        AppendFolded(text, out);
        out += '\0';
    });
}

qsizetype TokenSearchTextSize(const TTokenData& token)
{
    qsizetype size = 0;
    ForEachSearchedText(token, [&](const QString& text) { size += text.size() + 1; });
    return size;
}

QByteArray TokenSearchText(const TTokenData& token)
{
    QByteArray text;
    text.reserve(TokenSearchTextSize(token));
    AppendTokenSearchText(token, text);
    return text;
}

bool SearchTextContains(const QByteArray& searchText, const QByteArray& foldedQuery)
{
    if (foldedQuery.isEmpty())
        return true;
    if (foldedQuery.contains('\0'))
        return false;
    return Platform::FindBytes(searchText.constData(), std::size_t(searchText.size()),
                               foldedQuery.constData(), std::size_t(foldedQuery.size())) != nullptr;
}

} // namespace Lockwyn
