// Unlocking the program with the default key derivation: the start dialog's
// password check and the controller's open of the file should together cost
// one key derivation, not one each.
//   bench_SessionUnlock [runs]   prints the median of each, in ms

#include <QApplication>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

#include "Lockwyn.App.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.Settings.h"
#include "Platform.Memory.h"
#include "SessionTestSupport.h"

namespace {

const QString Password = QStringLiteral("benchmark master password");

double MedianMs(int runs, const std::function<void()>& before, const std::function<void()>& body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        before();
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int Run(int runs)
{
    QTemporaryDir dir;
    GUISettings().SetFileName(dir.filePath("lockwyn.settings.xml"));
    const QString database = dir.filePath("bench.lwdb");
    const auto file = GetLockwyn()->GetDatabaseFile();
    const auto storage = file->GetTokenStorage();
    const Lockwyn::TKeyDerivationSettings kdf = file->GetKeyDerivationSettings();
    storage->SetMasterPassword(Password);
    if (file->CreateFile(database) != Lockwyn::DatabaseFileCode::Ok)
        return 1;

    // One derivation: a check with nothing cached (clearing the storage
    // wipes the cache).
    const double derivation = MedianMs(
        runs, [&] { storage->Clear(); }, [&] { file->CheckMasterPassword(database, Password); });

    // The program's start on the last database, then lock and unlock.
    file->Close();
    storage->Clear();
    GUISettings().SetLastDatabaseFileName(database);
    SessionTest::AnswerStartDialogWithPassword(Password);
    LockwynApp().Start();
    if (file->GetFileName() != database)
        return 1;
    const double unlock = MedianMs(
        runs, [] { SessionTest::AnswerStartDialogWithPassword(Password); },
        [] { LockwynApp().Lock(); });
    if (LockwynApp().GetLocked() || file->GetFileName() != database)
        return 1;

    std::printf("key derivation (%llu passes, %llu MiB): %.0f ms; unlock through the dialog: "
                "%.0f ms; ratio %.2f\n",
                static_cast<unsigned long long>(kdf.OpsLimit),
                static_cast<unsigned long long>(kdf.MemLimit >> 20), derivation, unlock,
                unlock / derivation);
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Platform::HardenHeap(); // as the program runs
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 5;
    const int code = Run(runs);
    ReleaseLockwynApp();
    ReleaseGUISettings();
    ReleaseLibraryConnections();
    return code;
}
