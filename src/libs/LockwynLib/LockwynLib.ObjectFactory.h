#pragma once
// Makes the objects the application builds and hands to operations.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class TObjectFactory : public IObjectFactory
{
public:
    std::shared_ptr<ICompositeOperation> CreateCompositeOperation() override;
    std::shared_ptr<ITokenCustomProperties> CreateCustomProperties() override;
    std::shared_ptr<ITokenCustomPropertiesTemplate> CreateCustomPropertiesTemplate() override;
    std::shared_ptr<IAutoLoginInfo> CreateWebSitesDBAutoLoginInfo() override;
    std::shared_ptr<IAutoLoginInfo>
    CreateManualAutoLoginInfo(const QString& loginURL, bool forceRedirect,
                              bool analyzeAutomatically, const TWebFormElement& userNameElement,
                              const TWebFormElement& passwordElement,
                              std::int32_t webFormIndex) override;
    std::shared_ptr<ITokenHistory>
    CreateTokenHistory(const QList<TTokenHistoryEntry>& entries) override;
    std::shared_ptr<IToken> CreateToken() override;
    std::shared_ptr<ITokenGroup> CreateTokenGroup() override;
};

} // namespace Lockwyn
