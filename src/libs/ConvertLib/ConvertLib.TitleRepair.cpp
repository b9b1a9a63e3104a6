#include "ConvertLib.TitleRepair.h"

#include "Lockwyn.Format.h"

#include <QSet>

namespace Lockwyn {

namespace {

const QString UntitledTitle = QStringLiteral("Untitled");
const QString RepeatedTitleTemplate = QStringLiteral("%0:s (%1:d)");

// Gives the title back unchanged when free, else the first free numbered form.
QString FreeTitle(const QString& wanted, QSet<QString>& taken)
{
    const QString base = wanted.trimmed().isEmpty() ? UntitledTitle : wanted;
    QString title = base;
    for (int counter = 2; taken.contains(title.toCaseFolded()); ++counter)
        title = Format(RepeatedTitleTemplate, base, counter);
    taken.insert(title.toCaseFolded());
    return title;
}

} // namespace

void RepairTitles(TGroupRecord& group)
{
    QSet<QString> tokenTitles;
    for (auto& token : group.Tokens)
        token.Title = FreeTitle(token.Title, tokenTitles);
    QSet<QString> groupTitles;
    for (auto& child : group.Groups) {
        child.Title = FreeTitle(child.Title, groupTitles);
        RepairTitles(child);
    }
}

} // namespace Lockwyn
