#pragma once
// A token's web auto-login record: immutable once made.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class TAutoLoginInfo : public IAutoLoginInfo
{
public:
    explicit TAutoLoginInfo(TAutoLoginValues values = {}) : FValues(std::move(values)) {}

    bool GetUseWebSitesDB() override { return FValues.UseWebSitesDB; }
    QString GetLoginURL() override { return FValues.LoginURL; }
    bool GetForceRedirect() override { return FValues.ForceRedirect; }
    bool GetAnalyzeAutomatically() override { return FValues.AnalyzeAutomatically; }
    TWebFormElement GetUserNameElement() override { return FValues.UserNameElement; }
    TWebFormElement GetPasswordElement() override { return FValues.PasswordElement; }
    std::int32_t GetWebFormIndex() override { return FValues.WebFormIndex; }
    bool Equals(const std::shared_ptr<IAutoLoginInfo>& other) override;

private:
    TAutoLoginValues FValues;
};

bool SameAutoLogin(const std::shared_ptr<IAutoLoginInfo>& left,
                   const std::shared_ptr<IAutoLoginInfo>& right);
// nil for the default record, so tokens without settings cost nothing.
std::shared_ptr<IAutoLoginInfo> MakeAutoLoginInfo(const TAutoLoginValues& values);

} // namespace Lockwyn
