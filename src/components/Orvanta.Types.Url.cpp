#include "Orvanta.Types.Url.h"

#include <QDesktopServices>
#include <QUrl>

bool TUrl::VerifyUrl(const QString& url)
{
    const QUrl parsed(url, QUrl::StrictMode);
    if (!parsed.isValid() || parsed.host().isEmpty())
        return false;
    const QString scheme = parsed.scheme().toLower();
    return scheme == u"http" || scheme == u"https";
}

bool TUrl::GoUrl(const QString& url)
{
    return VerifyUrl(url) && QDesktopServices::openUrl(QUrl(url, QUrl::StrictMode));
}
