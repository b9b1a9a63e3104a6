#include <QString>

#include <exception>

#include "Forms.Main.h"
#include "Lockwyn.App.Singleton.h"
#include "Lockwyn.Application.h"
#include "Lockwyn.CrashReport.h"
#include "Lockwyn.Startup.h"
#include "Platform.Memory.h"
#include "Platform.TimeZone.h"

namespace {

int RunProgram(int argc, char** argv)
{
    // What the program needs before anything else: the string table and the
    // settings object, which loads the storage library.
    Lockwyn::InitializeGlobals();

    TLockwynApplication app(argc, argv);
    if (!TAppSingleton::Init(QStringLiteral("Lockwyn")))
        return 0;
    Lockwyn::LoadSettingsAndLanguage();

    // Its creation runs the start dialog until a database is open or the
    // user ends the program.
    TfMain mainForm;
    if (!app.ShowMainForm())
        return 0;
    mainForm.show();
    return app.exec();
}

} // namespace

int main(int argc, char** argv)
{
    Platform::HardenHeap();
    Platform::CacheLocalTimeZone();
    TCrashReport::InstallTerminateHandler();
    int code = 1;
    try {
        code = RunProgram(argc, argv);
    } catch (const std::exception& e) {
        TCrashReport::Show(QString::fromUtf8(e.what()));
    }
    Lockwyn::FinalizeGlobals();
    return code;
}
