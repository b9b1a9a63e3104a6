#pragma once
// The function run in a page's frame, in an isolated world the page's own
// scripts cannot reach, to find a login form and fill it. It is called with
// three arguments: the user name, the password and the options below; the
// credentials are never part of its text.

#include <QJsonObject>
#include <QString>

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

// What the function does; it answers with a TPageScriptAnswer.
struct TPageScriptOptions
{
    bool Fill = true; // fill, or only find the form
    bool Submit = false;
    // The frame must belong to this site, over https when httpsOnly.
    QString Site;
    bool HttpsOnly = false;
    TWebFormLoginFieldsInfo Fields;
    // Fill a named user name field alone when the page has no password field
    // (the first step of a two-step login).
    bool AllowUserNameOnly = false;

    QJsonObject ToJson() const;
};

enum class TPageScriptStatus
{
    pssNoForm,
    pssLoading, // the document is still being read
    pssOtherSite,
    pssUserNameOnly, // a named user name field but no password field; nothing done
    pssFilled,       // or, when only finding, found
};

struct TPageScriptAnswer
{
    TPageScriptStatus Status = TPageScriptStatus::pssNoForm;
    // The login form found (form index, elements).
    TWebFormLoginFieldsInfo Fields;
    // The form could not be submitted from the page; an Enter typed into the
    // focused field does it.
    bool SubmitWithEnter = false;

    static TPageScriptAnswer FromJson(const QJsonObject& value);
};

// The function's declaration for Runtime.callFunctionOn.
const QString& PageScriptFunction();

} // namespace Lockwyn
