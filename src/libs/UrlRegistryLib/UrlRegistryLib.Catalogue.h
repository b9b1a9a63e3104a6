#pragma once
// The catalogue file: an XML document of this form.
//
//   <websites format="1" revision="2025061001">
//     <site title="GitHub" url="https://github.com/" loginUrl="https://github.com/login"
//           forceRedirect="true" formIndex="0" userNameId="login_field" userNameName="login"
//           passwordId="password" passwordName="password"/>
//   </websites>
//
// The revision orders catalogues; unknown attributes and elements are
// ignored, so later versions of the format can add to it.

#include <QByteArray>
#include <QList>

#include <memory>
#include <optional>

#include "UrlRegistryLib.WebSiteEntry.h"

namespace Lockwyn {

// The limits of a catalogue, for downloads as for files.
constexpr qsizetype MaxCatalogueBytes = 8 * 1024 * 1024;
constexpr qsizetype MaxCatalogueTextLength = 2048;
constexpr std::int32_t MaxCatalogueFormIndex = 1000;

struct TWebSiteCatalogue
{
    qint64 Revision = 0;
    QList<std::shared_ptr<TWebSiteEntry>> Sites;
};

// Nothing when the bytes are not a catalogue: not well-formed, another root
// element or format, over the limits, or without a usable site. A site that
// lacks a title or an http(s) address, has a login page on another site than
// its address, or an address that is a public suffix, is left out.
std::optional<TWebSiteCatalogue> ParseWebSiteCatalogue(const QByteArray& bytes);

// The file's catalogue; nothing when it is missing or no catalogue.
std::optional<TWebSiteCatalogue> ReadWebSiteCatalogue(const QString& fileName);

} // namespace Lockwyn
