#pragma once
// Web addresses the program shows as links and opens in a browser: absolute
// http and https URLs with a host. Anything else (javascript:, file:, a bare
// word) is neither shown as a link nor opened.

#include <QString>

class TUrl
{
public:
    static bool VerifyUrl(const QString& url);
    // Hands a URL that VerifyUrl accepts to the system's default browser;
    // false, opening nothing, for any other.
    static bool GoUrl(const QString& url);
};

inline constexpr TUrl gUrl{};
