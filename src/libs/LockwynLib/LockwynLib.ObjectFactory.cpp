#include "LockwynLib.ObjectFactory.h"

#include "LockwynLib.AutoLoginInfo.h"
#include "LockwynLib.CustomProperties.h"
#include "LockwynLib.Operation.h"
#include "LockwynLib.Token.h"
#include "LockwynLib.TokenGroup.h"
#include "LockwynLib.TokenHistory.h"

namespace Lockwyn {

std::shared_ptr<ICompositeOperation> TObjectFactory::CreateCompositeOperation()
{
    return std::make_shared<TCompositeOperation>();
}

std::shared_ptr<ITokenCustomProperties> TObjectFactory::CreateCustomProperties()
{
    return std::make_shared<TTokenCustomProperties>(TListAccess<TTokenCustomProperty>::Own());
}

std::shared_ptr<ITokenCustomPropertiesTemplate> TObjectFactory::CreateCustomPropertiesTemplate()
{
    return std::make_shared<TTokenCustomPropertiesTemplate>(TListAccess<QString>::Own());
}

std::shared_ptr<IAutoLoginInfo> TObjectFactory::CreateWebSitesDBAutoLoginInfo()
{
    return std::make_shared<TAutoLoginInfo>();
}

std::shared_ptr<IAutoLoginInfo> TObjectFactory::CreateManualAutoLoginInfo(
    const QString& loginURL, bool forceRedirect, bool analyzeAutomatically,
    const TWebFormElement& userNameElement, const TWebFormElement& passwordElement,
    std::int32_t webFormIndex)
{
    return std::make_shared<TAutoLoginInfo>(TAutoLoginValues{false, loginURL, forceRedirect,
                                                             analyzeAutomatically, userNameElement,
                                                             passwordElement, webFormIndex});
}

std::shared_ptr<ITokenHistory>
TObjectFactory::CreateTokenHistory(const QList<TTokenHistoryEntry>& entries)
{
    THistoryData data;
    data.reserve(entries.size());
    for (const auto& entry : entries)
        data.append(FromHistoryEntry(entry));
    return std::make_shared<TTokenHistory>(TListAccess<THistoryEntryData>::Own(std::move(data)));
}

std::shared_ptr<IToken> TObjectFactory::CreateToken()
{
    TTokenData data;
    data.ID = QUuid::createUuid();
    data.Created = NowMsecs();
    return std::make_shared<TToken>(std::move(data));
}

std::shared_ptr<ITokenGroup> TObjectFactory::CreateTokenGroup()
{
    TGroupData data;
    data.ID = QUuid::createUuid();
    data.Created = NowMsecs();
    return std::make_shared<TTokenGroup>(std::move(data));
}

} // namespace Lockwyn
