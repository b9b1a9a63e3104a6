#pragma once
// Opens web addresses for the token list and the info panel: in the system's
// default browser, or in the browser the user chose, started with the URL as
// its only argument (never through a shell). Only URLs that gUrl.VerifyUrl
// accepts are opened. One instance per program (URLOpenUtil).

#include <QString>

class TURLOpenUtilBase
{
public:
    bool UseDefaultBrowser() const { return FUseDefaultBrowser; }
    void SetUseDefaultBrowser(bool value) { FUseDefaultBrowser = value; }
    // The chosen browser's program file.
    QString BrowserPath() const { return FBrowserPath; }
    void SetBrowserPath(const QString& value) { FBrowserPath = value; }

    // The default browser is used when UseDefaultBrowser is set, when the
    // chosen browser's file does not exist or cannot be started. False when
    // the URL was not opened.
    bool GoURL(const QString& URL) const;

private:
    bool FUseDefaultBrowser = true;
    QString FBrowserPath;
};

TURLOpenUtilBase& URLOpenUtil();
void ReleaseURLOpenUtil();
