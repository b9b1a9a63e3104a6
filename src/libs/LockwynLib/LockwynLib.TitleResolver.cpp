#include "LockwynLib.TitleResolver.h"

#include "Lockwyn.Format.h"

namespace Lockwyn {

namespace {

QString TitleKey(const QString& title)
{
    return title.toCaseFolded();
}

// A template that does not vary with the counter would never find a free title.
bool CountsUp(const QString& collisionTemplate)
{
    return Format(collisionTemplate, QStringLiteral("t"), 1) !=
           Format(collisionTemplate, QStringLiteral("t"), 2);
}

} // namespace

bool SameTitle(const QString& left, const QString& right)
{
    return left.compare(right, Qt::CaseInsensitive) == 0;
}

TTitleResolver::TTitleResolver(const QString& collisionTemplate)
    : FTemplate(CountsUp(collisionTemplate) ? collisionTemplate : QStringLiteral("%0:s (%1:d)"))
{
}

void TTitleResolver::Reserve(const QString& title)
{
    FTaken.insert(TitleKey(title));
}

QString TTitleResolver::Resolve(const QString& title)
{
    const QString key = TitleKey(title);
    if (!FTaken.contains(key)) {
        FTaken.insert(key);
        return title;
    }
    for (int counter = FNextCounter.value(key, 1);; ++counter) {
        const QString candidate = Candidate(title, counter);
        const QString candidateKey = TitleKey(candidate);
        if (!FTaken.contains(candidateKey)) {
            FTaken.insert(candidateKey);
            FNextCounter.insert(key, counter + 1);
            return candidate;
        }
    }
}

QString TTitleResolver::Candidate(const QString& title, int counter) const
{
    return Format(FTemplate, title, counter);
}

} // namespace Lockwyn
