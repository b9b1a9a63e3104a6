#pragma once
// The browsers this library can drive: those of the Chromium family, which
// speak the DevTools protocol over a pipe. Firefox and others cannot.

#include <QString>
#include <QStringList>

#include <optional>

namespace Lockwyn {

struct TChromiumBrowser
{
    // Names the browser's own profile folder: "chromium", "chrome", ...
    QString Key;
    // The program to run. Distributions start the browser through a script
    // that adds flags of its own; this is the program the script runs.
    QString Program;
};

// The Chromium-family browser a program file starts; nothing for others.
std::optional<TChromiumBrowser> ChromiumBrowserOf(const QString& programPath);

} // namespace Lockwyn
