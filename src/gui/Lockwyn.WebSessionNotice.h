#pragma once
// What the user is told about a session of the web auto-login library that
// could not do all its work: why, in the user's language.

#include <QString>

#include "FormFillLib.Interfaces.h"

// Empty for a session without a problem.
QString WebSessionNoticeText(Lockwyn::IWebAutoLoginSession& session);
