// A program that copies a secret through the clipboard auto-cleaner and ends
// at once, with clean-on-exit on (argument "clean") or off. It says what the
// clipboard holds once the cleaner has had its last word: "empty" or "kept".
#include <QApplication>
#include <QClipboard>

#include <cstdio>

#include "Components.ClipboardAutoCleaner.h"

namespace {

// Registered before the cleaner's own routine, so it runs after it.
void ReportClipboard()
{
    const bool empty = QGuiApplication::clipboard()->text().isEmpty();
    std::printf("%s\n", empty ? "empty" : "kept");
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    qAddPostRoutine(ReportClipboard);
    ClipboardAutoCleaner().SetAutoCleanOnDestroy(argc > 1 && qstrcmp(argv[1], "clean") == 0);
    ClipboardAutoCleaner().CopyToClipboard(QStringLiteral("exit secret"), 60);
    return 0;
}
