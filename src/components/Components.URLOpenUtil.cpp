#include "Components.URLOpenUtil.h"

#include <QFileInfo>
#include <QProcess>

#include "Components.Singleton.h"
#include "Orvanta.Types.Url.h"

bool TURLOpenUtilBase::GoURL(const QString& URL) const
{
    if (!gUrl.VerifyUrl(URL))
        return false;
    if (!FUseDefaultBrowser && QFileInfo(FBrowserPath).isFile() &&
        QProcess::startDetached(FBrowserPath, {URL}))
        return true;
    return gUrl.GoUrl(URL);
}

TURLOpenUtilBase& URLOpenUtil()
{
    return TSingleton<TURLOpenUtilBase>::Instance();
}

void ReleaseURLOpenUtil()
{
    TSingleton<TURLOpenUtilBase>::Release();
}
