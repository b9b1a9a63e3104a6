#include "Lockwyn.WebSessionNotice.h"

#include <QFileInfo>

#include "Lockwyn.Format.h"
#include "Lockwyn.LocalizedStrings.h"

using Lockwyn::TWebSessionProblem;

QString WebSessionNoticeText(Lockwyn::IWebAutoLoginSession& session)
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const QString detail = session.GetProblemDetail();
    switch (session.GetProblem()) {
    case TWebSessionProblem::wspNone:
        break;
    case TWebSessionProblem::wspNotWebAddress:
        return strings.FWebSessionNotWebAddress;
    case TWebSessionProblem::wspBrowserCannotFill:
        // The detail is the browser's program file.
        return Lockwyn::Format(strings.FWebSessionBrowserCannotFill,
                               QFileInfo(detail).completeBaseName());
    case TWebSessionProblem::wspNoBrowserCanFill:
        return strings.FWebSessionNoBrowserCanFill;
    case TWebSessionProblem::wspBrowserFailed:
        return Lockwyn::Format(strings.FWebSessionBrowserFailed, detail);
    case TWebSessionProblem::wspPageNotLoaded:
        return Lockwyn::Format(strings.FWebSessionPageNotLoaded, detail);
    case TWebSessionProblem::wspOtherSite:
        return Lockwyn::Format(strings.FWebSessionOtherSite, detail);
    case TWebSessionProblem::wspNoLoginForm:
        return strings.FWebSessionNoLoginForm;
    }
    return {};
}
