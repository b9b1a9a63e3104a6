#include "UrlRegistryLib.Catalogue.h"

#include <QFile>
#include <QUrl>
#include <QXmlStreamReader>

#include "WebCommon.Site.h"

namespace Lockwyn {

namespace {

const QString RootElement = QStringLiteral("websites");
const QString SiteElement = QStringLiteral("site");
const QString SupportedFormat = QStringLiteral("1");

std::optional<QString> Text(const QXmlStreamAttributes& attributes, const QString& name)
{
    const QString value = attributes.value(name).toString().trimmed();
    if (value.size() > MaxCatalogueTextLength)
        return std::nullopt;
    return value;
}

std::optional<QUrl> WebAddress(const QXmlStreamAttributes& attributes, const QString& name)
{
    const std::optional<QString> text = Text(attributes, name);
    if (!text)
        return std::nullopt;
    const QUrl url(*text, QUrl::StrictMode);
    if (!Web::IsWebAddress(url) || Web::IsPublicSuffix(url.host()))
        return std::nullopt;
    return url;
}

std::optional<TWebSiteValues> ReadSite(const QXmlStreamAttributes& attributes)
{
    const std::optional<QString> title = Text(attributes, QStringLiteral("title"));
    const std::optional<QUrl> url = WebAddress(attributes, QStringLiteral("url"));
    const std::optional<QUrl> loginUrl = WebAddress(attributes, QStringLiteral("loginUrl"));
    if (!title || title->isEmpty() || !url || !loginUrl ||
        !Web::IsSameSite(url->host(), loginUrl->host()))
        return std::nullopt;
    TWebSiteValues site;
    site.Title = *title;
    site.URL = url->toString();
    site.LoginURL = loginUrl->toString();
    const QString forceRedirect = attributes.value(QStringLiteral("forceRedirect")).toString();
    site.ForceRedirect = forceRedirect == QLatin1String("true");
    bool numeric = true;
    const QString formIndex = attributes.value(QStringLiteral("formIndex")).toString();
    site.FormIndex = formIndex.isEmpty() ? 0 : formIndex.toInt(&numeric);
    if (!numeric || site.FormIndex < 0 || site.FormIndex > MaxCatalogueFormIndex)
        return std::nullopt;
    const std::optional<QString> values[] = {Text(attributes, QStringLiteral("userNameId")),
                                             Text(attributes, QStringLiteral("userNameName")),
                                             Text(attributes, QStringLiteral("passwordId")),
                                             Text(attributes, QStringLiteral("passwordName"))};
    for (const std::optional<QString>& value : values)
        if (!value)
            return std::nullopt;
    site.UserNameElement = {*values[0], *values[1]};
    site.PasswordElement = {*values[2], *values[3]};
    return site;
}

} // namespace

std::optional<TWebSiteCatalogue> ParseWebSiteCatalogue(const QByteArray& bytes)
{
    if (bytes.size() > MaxCatalogueBytes)
        return std::nullopt;
    QXmlStreamReader reader(bytes);
    if (!reader.readNextStartElement() || reader.name() != RootElement ||
        reader.attributes().value(QStringLiteral("format")) != SupportedFormat)
        return std::nullopt;
    TWebSiteCatalogue catalogue;
    catalogue.Revision = reader.attributes().value(QStringLiteral("revision")).toLongLong();
    while (reader.readNextStartElement()) {
        if (reader.name() == SiteElement) {
            if (const std::optional<TWebSiteValues> site = ReadSite(reader.attributes()))
                catalogue.Sites << std::make_shared<TWebSiteEntry>(*site);
        }
        reader.skipCurrentElement();
    }
    // Reading on to the end catches damage after the root element.
    while (!reader.atEnd())
        reader.readNext();
    if (reader.hasError() || catalogue.Sites.isEmpty())
        return std::nullopt;
    return catalogue;
}

std::optional<TWebSiteCatalogue> ReadWebSiteCatalogue(const QString& fileName)
{
    QFile file(fileName);
    if (fileName.isEmpty() || !file.open(QIODevice::ReadOnly) || file.size() > MaxCatalogueBytes)
        return std::nullopt;
    return ParseWebSiteCatalogue(file.readAll());
}

} // namespace Lockwyn
