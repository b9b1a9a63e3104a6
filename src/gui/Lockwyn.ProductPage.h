#pragma once
// The product's page on the web; the update check's version document lies
// beside it.

#include <QUrl>

inline QUrl ProductPageUrl()
{
    return QUrl(QStringLiteral("https://lockwyn.example/"));
}

inline QUrl VersionDocumentUrl()
{
    return ProductPageUrl().resolved(QUrl(QStringLiteral("version.json")));
}
