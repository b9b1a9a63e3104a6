#pragma once
// One site of the catalogue.

#include "LockwynLib.Interfaces.h"
#include "UrlRegistryLib.Interfaces.h"

namespace Lockwyn {

struct TWebSiteValues
{
    QString Title;
    QString URL;
    bool ForceRedirect = false;
    QString LoginURL;
    std::int32_t FormIndex = 0;
    TWebFormElement UserNameElement;
    TWebFormElement PasswordElement;
};

class TWebSiteEntry final : public IWebSiteEntry
{
public:
    explicit TWebSiteEntry(TWebSiteValues values) : FValues(std::move(values)) {}

    QString GetTitle() override { return FValues.Title; }
    QString GetURL() override { return FValues.URL; }
    bool GetForceRedirect() override { return FValues.ForceRedirect; }
    QString GetLoginURL() override { return FValues.LoginURL; }
    std::int32_t GetFormIndex() override { return FValues.FormIndex; }
    QString GetUserNameElementID() override { return FValues.UserNameElement.ID; }
    QString GetUserNameElementName() override { return FValues.UserNameElement.Name; }
    QString GetPasswordElementID() override { return FValues.PasswordElement.ID; }
    QString GetPasswordElementName() override { return FValues.PasswordElement.Name; }

private:
    TWebSiteValues FValues;
};

} // namespace Lockwyn
