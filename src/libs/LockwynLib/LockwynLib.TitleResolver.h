#pragma once
// Unique titles within one group, compared case-insensitively. A title that
// is taken is renamed with a template ("%0:s" title, "%1:d" counter), the
// counter starting at 1 and taking the first free title.

#include <QHash>
#include <QSet>
#include <QString>

namespace Lockwyn {

bool SameTitle(const QString& left, const QString& right);

class TTitleResolver
{
public:
    explicit TTitleResolver(const QString& collisionTemplate);
    void Reserve(const QString& title);
    // The title, or its first free renaming; reserved from then on.
    QString Resolve(const QString& title);

private:
    QString Candidate(const QString& title, int counter) const;

    QString FTemplate;
    QSet<QString> FTaken;
    QHash<QString, int> FNextCounter;
};

} // namespace Lockwyn
