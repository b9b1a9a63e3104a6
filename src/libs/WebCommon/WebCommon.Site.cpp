#include "WebCommon.Site.h"

#include <QHostAddress>
#include <QNetworkCookie>
#include <QNetworkCookieJar>

namespace Lockwyn::Web {

namespace {

// QtNetwork keeps its public suffix list private; its cookie jar refuses a
// cookie for a public suffix, which is how we reach the list.
class TPublicSuffixJudge final : public QNetworkCookieJar
{
public:
    bool IsPublicSuffix(const QString& domain) const
    {
        QNetworkCookie cookie;
        cookie.setDomain(u'.' + domain);
        QUrl url;
        url.setScheme(QStringLiteral("https"));
        url.setHost(QStringLiteral("x.") + domain);
        return !validateCookie(cookie, url);
    }
};

QString NormalizedHost(const QString& host)
{
    QString normalized = host.toLower();
    while (normalized.endsWith(u'.'))
        normalized.chop(1);
    return normalized;
}

} // namespace

bool IsWebAddress(const QUrl& url)
{
    const QString scheme = url.scheme().toLower();
    return url.isValid() && !url.host().isEmpty() &&
           (scheme == QLatin1String("http") || scheme == QLatin1String("https"));
}

bool IsPublicSuffix(const QString& host)
{
    const QString domain = NormalizedHost(host);
    return !domain.isEmpty() && TPublicSuffixJudge().IsPublicSuffix(domain);
}

QString SiteOf(const QString& host)
{
    const QString normalized = NormalizedHost(host);
    if (normalized.isEmpty() || !QHostAddress(normalized).isNull())
        return normalized;
    const QStringList labels = normalized.split(u'.');
    const TPublicSuffixJudge judge;
    for (qsizetype first = labels.size() - 1; first >= 0; --first) {
        const QString candidate = labels.sliced(first).join(u'.');
        if (!judge.IsPublicSuffix(candidate))
            return candidate;
    }
    return normalized;
}

bool IsSameSite(const QString& host, const QString& otherHost)
{
    const QString site = SiteOf(host);
    return !site.isEmpty() && site == SiteOf(otherHost);
}

} // namespace Lockwyn::Web
