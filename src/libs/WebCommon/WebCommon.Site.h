#pragma once
// Which web site an address belongs to. A site is the registrable domain of
// the host ("example.co.uk" for "login.example.co.uk"), found with the public
// suffix list; the web libraries match catalogue entries and check pages by
// it.

#include <QString>
#include <QUrl>

namespace Lockwyn::Web {

// An http or https address with a host: the only kind handed to a browser.
bool IsWebAddress(const QUrl& url);

// A suffix under which anyone may register names ("com", "co.uk",
// "github.io").
bool IsPublicSuffix(const QString& host);

// The registrable domain of a host, in lower case; an IP address, or a host
// that is itself a public suffix, is its own site.
QString SiteOf(const QString& host);

bool IsSameSite(const QString& host, const QString& otherHost);

} // namespace Lockwyn::Web
