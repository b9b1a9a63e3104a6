#include "Cli.Paths.h"

#include "Cli.Error.h"
#include "Lockwyn.Format.h"

using namespace Lockwyn;

namespace CliPaths {

namespace {

QString Escaped(const QString& title)
{
    QString escaped = title;
    return escaped.replace(u'\\', QStringLiteral("\\\\")).replace(u'/', QStringLiteral("\\/"));
}

bool SameTitle(const QString& a, const QString& b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QStringList TitlesBelowRoot(std::shared_ptr<ITokenGroup> group)
{
    QStringList titles;
    for (; group && group->GetParent(); group = group->GetParent())
        titles.prepend(group->GetTitle());
    return titles;
}

} // namespace

QStringList Split(const QString& path)
{
    QStringList titles;
    QString title;
    for (qsizetype i = 0; i < path.size(); ++i) {
        const QChar c = path.at(i);
        if (c == u'\\' && i + 1 < path.size()) {
            title += path.at(++i);
        } else if (c == u'/') {
            titles.append(title);
            title.clear();
        } else {
            title += c;
        }
    }
    titles.append(title);
    titles.removeAll(QString());
    return titles;
}

QString Join(const QStringList& titles)
{
    QStringList escaped;
    for (const auto& title : titles)
        escaped.append(Escaped(title));
    return escaped.join(u'/');
}

std::shared_ptr<ITokenGroup> FindGroup(const std::shared_ptr<ITokenGroup>& root,
                                       const QStringList& titles)
{
    std::shared_ptr<ITokenGroup> group = root;
    for (const auto& title : titles) {
        std::shared_ptr<ITokenGroup> next;
        for (const auto& child : group->GetGroups())
            if (SameTitle(child->GetTitle(), title)) {
                next = child;
                break;
            }
        if (!next)
            return nullptr;
        group = next;
    }
    return group;
}

std::shared_ptr<IToken> FindToken(ITokenGroup& group, const QString& title)
{
    for (const auto& token : group.GetTokens())
        if (SameTitle(token->GetTitle(), title))
            return token;
    return nullptr;
}

std::shared_ptr<ITokenGroup> RequireGroup(const std::shared_ptr<ITokenGroup>& root,
                                          const QString& path)
{
    auto group = FindGroup(root, Split(path));
    if (!group)
        throw ECliError(TCliExitCode::cecNotFound, Format("Group %s not found", path));
    return group;
}

std::shared_ptr<IToken> RequireToken(const std::shared_ptr<ITokenGroup>& root, const QString& path)
{
    QStringList titles = Split(path);
    const QString title = titles.isEmpty() ? QString() : titles.takeLast();
    const auto group = FindGroup(root, titles);
    auto token = group ? FindToken(*group, title) : nullptr;
    if (!token)
        throw ECliError(TCliExitCode::cecNotFound, Format("Token %s not found", path));
    return token;
}

QString PathOf(IToken& token)
{
    return Join(TitlesBelowRoot(token.GetGroup()) << token.GetTitle());
}

QString PathOf(const std::shared_ptr<ITokenGroup>& group)
{
    return Join(TitlesBelowRoot(group));
}

} // namespace CliPaths
