#include "Lockwyn.DatabaseTransfer.h"

#include <QApplication>
#include <QEventLoop>
#include <QFileInfo>
#include <QPointer>
#include <QProgressDialog>
#include <QThread>
#include <QTimer>

#include <atomic>
#include <mutex>
#include <optional>

#include "Components.DpiScale.h"
#include "Components.FileDialog.h"
#include "Components.MessageDialog.h"
#include "Lockwyn.App.h"
#include "Lockwyn.EditingProtocol.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "OvToast.h"

using namespace Lockwyn;

namespace DatabaseTransfer {

namespace {

constexpr int SuccessToastInterval = 3000;
constexpr int VersionWarningToastInterval = 6000;
constexpr int ProgressDialogWidth = 400;

// Keeps the idle lock away and the main window off the top while a dialog of
// the transfer is up.
class TModalScope
{
public:
    explicit TModalScope(ILockwynApp& app) : FSuspension(app), FMain(app.GetMainView())
    {
        if (FMain)
            FMain->NormalizeTopMost();
    }
    ~TModalScope()
    {
        if (FMain)
            FMain->RestoreTopMost();
    }
    TModalScope(const TModalScope&) = delete;
    TModalScope& operator=(const TModalScope&) = delete;

private:
    TIdleTimerSuspension FSuspension;
    IMainView* FMain;
};

class TWaitCursor
{
public:
    TWaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

QWidget* MainWindow(ILockwynApp& app)
{
    return dynamic_cast<QWidget*>(app.GetMainView());
}

QString WithoutFolder(const QString& fileName)
{
    return QFileInfo(fileName).fileName();
}

// "Lockwyn XML (*.xml)" with the suffix "xml".
TFileDialogRequest FormatRequest(IConverter& converter, TFileDialogRequest::TKind kind)
{
    TFileDialogRequest request;
    request.Kind = kind;
    const QString mask = converter.GetFileMask();
    request.NameFilter =
        Lockwyn::Format(QStringLiteral("%0:s (%1:s)"), converter.GetFormatName(), mask);
    request.DefaultSuffix = QFileInfo(mask).suffix();
    return request;
}

// The dialogs start in the open database's folder.
QString DatabaseFolder()
{
    return QFileInfo(GetLockwyn()->GetDatabaseFile()->GetFileName()).absolutePath() + u'/';
}

bool AskYesNo(const QString& message, TMsgDlgType type)
{
    return TMessageDialog::Show(message, type, TMessageDialog::TDialogButtons::dbYesNo, 1) ==
           TMessageDialog::idYes;
}

void ShowError(const QString& message)
{
    TMessageDialog::Show(message, TMsgDlgType::mtError, TMessageDialog::TDialogButtons::dbOk, 0);
}

// The save dialog, asking before an existing file is replaced; No goes back
// to the dialog. Empty when the user gave up.
QString ChooseExportFile(ILockwynApp& app, IConverter& converter)
{
    TFileDialogRequest request = FormatRequest(converter, TFileDialogRequest::TKind::fdkSave);
    request.ObjectName = QStringLiteral("fsdExport");
    request.Title =
        Lockwyn::Format(LocalizedStrings().FExportDlgCaption, converter.GetFormatName());
    request.InitialFileName = DatabaseFolder() + app.GetDatabaseName();
    request.ConfirmOverwrite = false;
    for (;;) {
        const QString chosen = TFileDialog::Execute(MainWindow(app), request);
        if (chosen.isEmpty() || !QFileInfo::exists(chosen))
            return chosen;
        if (AskYesNo(Lockwyn::Format(LocalizedStrings().FExportOverwriteDlgMessage,
                                     WithoutFolder(chosen)),
                     TMsgDlgType::mtWarning))
            return chosen;
        request.InitialFileName = chosen;
    }
}

QString ChooseImportFile(ILockwynApp& app, IConverter& converter)
{
    TFileDialogRequest request = FormatRequest(converter, TFileDialogRequest::TKind::fdkOpen);
    request.ObjectName = QStringLiteral("fodImport");
    request.Title =
        Lockwyn::Format(LocalizedStrings().FImportDlgCaption, converter.GetFormatName());
    request.InitialFileName = DatabaseFolder();
    return TFileDialog::Execute(MainWindow(app), request);
}

// ---------------------------------------------------------------------------
// Parsing on a worker thread

// What a parse hands back: the tree built from the file (null when the file
// does not have the format) and the format version found in it.
struct TParsedFile
{
    std::shared_ptr<ITokenGroup> Group;
    int Version = 0;
};

struct TImportJob
{
    std::shared_ptr<IConverter> Converter;
    QString FileName;
    TParsedFile Result;
    std::atomic<bool> Done = false;
};

// A converter keeps the version of its last import, so parses run one at a
// time: a parse started while a cancelled one still runs waits for it.
std::mutex& ParseMutex()
{
    static std::mutex mutex;
    return mutex;
}

QList<QPointer<QThread>>& Workers()
{
    static QList<QPointer<QThread>> workers;
    return workers;
}

QThread* StartWorker(const std::shared_ptr<TImportJob>& job)
{
    QThread* worker = QThread::create([job] {
        {
            const std::lock_guard lock(ParseMutex());
            try {
                job->Result.Group = job->Converter->Import(job->FileName);
                job->Result.Version = job->Converter->GetImportedVersion();
            } catch (const std::exception&) {
                // A file the reader cannot cope with is a file of the wrong format.
                job->Result.Group.reset();
            }
        }
        job->Done = true;
    });
    worker->setObjectName(QStringLiteral("ImportWorker"));
    QObject::connect(worker, &QThread::finished, worker, [worker] {
        Workers().removeAll(worker);
        worker->deleteLater();
    });
    Workers().append(worker);
    worker->start();
    return worker;
}

QProgressDialog* CreateProgressDialog(QWidget* parent, const QString& fileName)
{
    auto* progress = new QProgressDialog(parent);
    progress->setObjectName(QStringLiteral("fImportProgress"));
    progress->setWindowTitle(LocalizedStrings().FAppName);
    progress->setLabelText(
        Lockwyn::Format(LocalizedStrings().FImportProgressMessage, WithoutFolder(fileName)));
    // No steps are known: a busy bar.
    progress->setRange(0, 0);
    progress->setAutoReset(false);
    progress->setAutoClose(false);
    progress->setWindowModality(Qt::ApplicationModal);
    progress->setMinimumWidth(ScaleByDpi(progress, ProgressDialogWidth));
    // Shown by exec() below, never on its own timer.
    progress->setMinimumDuration(INT_MAX);
    progress->reset();
    return progress;
}

// Parses on a worker thread. For the first half second input waits and the
// window still repaints; a longer parse shows a progress dialog whose Cancel
// drops the result. Empty when cancelled (or when the program ends meanwhile).
std::optional<TParsedFile> ParseFile(const std::shared_ptr<IConverter>& converter,
                                     const QString& fileName, QWidget* parent)
{
    const auto job = std::make_shared<TImportJob>();
    job->Converter = converter;
    job->FileName = fileName;

    const std::unique_ptr<QProgressDialog> progress(CreateProgressDialog(parent, fileName));
    QEventLoop loop;
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    QThread* worker = StartWorker(job);
    // Connected before the state is read: the end of the parse reaches
    // whichever wait is running.
    QObject::connect(worker, &QThread::finished, &loop, &QEventLoop::quit);
    QObject::connect(worker, &QThread::finished, progress.get(), &QProgressDialog::accept);
    {
        const TWaitCursor busy;
        delay.start(ProgressDelayMs);
        if (!job->Done)
            loop.exec(QEventLoop::ExcludeUserInputEvents);
    }
    // The dialog is accepted only when the parse has ended; it is rejected by
    // Cancel and when the program ends.
    if (!job->Done && progress->exec() != QDialog::Accepted)
        return std::nullopt;
    return job->Result;
}

} // namespace

// ---------------------------------------------------------------------------

bool ExportDatabase(ILockwynApp& app, int converterIndex)
{
    const auto converter = GetConvertLib()->GetConverter(converterIndex);
    if (!converter || !converter->GetCanExport())
        return false;
    const TModalScope modal(app);
    const TLocalizedStrings& strings = LocalizedStrings();
    // Every export format holds the secrets in the clear.
    if (!AskYesNo(strings.FExportUnencryptedWarning, TMsgDlgType::mtWarning))
        return false;
    const QString fileName = ChooseExportFile(app, *converter);
    if (fileName.isEmpty())
        return false;
    // Writing over the open database would replace it with the clear text.
    bool written = false;
    if (!SameFileName(fileName, GetLockwyn()->GetDatabaseFile()->GetFileName())) {
        const TWaitCursor busy;
        written = converter->Export(app.GetTokenStorage(), fileName);
    }
    if (written)
        TOvToast::Show(MainWindow(app),
                       Lockwyn::Format(strings.FToastSuccessExport, app.GetDatabaseName()),
                       SuccessToastInterval);
    else
        ShowError(Lockwyn::Format(strings.FExportFailed, WithoutFolder(fileName)));
    return written;
}

bool ImportDatabase(ILockwynApp& app, int converterIndex)
{
    const auto converter = GetConvertLib()->GetConverter(converterIndex);
    if (!converter || !converter->GetCanImport())
        return false;
    // In read-only mode the imported data could not be saved.
    if (!app.RequestEditMode())
        return false;
    const TModalScope modal(app);
    const TLocalizedStrings& strings = LocalizedStrings();
    const QString fileName = ChooseImportFile(app, *converter);
    if (fileName.isEmpty())
        return false;
    const std::optional<TParsedFile> parsed = ParseFile(converter, fileName, MainWindow(app));
    if (!parsed)
        return false;
    if (!parsed->Group) {
        ShowError(Lockwyn::Format(strings.FImportWrongFormat, WithoutFolder(fileName)));
        return false;
    }
    const auto operation = app.GetRootGroup()->CreateImportOperation(
        parsed->Group, true, strings.FImportTitleCollisionTemplate);
    EditingProtocol::Execute(app, operation, [&app] { EditingProtocol::RebuildViews(app); });
    if (app.GetTokenStorage()->GetVersion() < parsed->Version)
        TOvToast::Show(MainWindow(app), strings.FImportedVersionOvershootMessage,
                       VersionWarningToastInterval);
    return true;
}

void WaitForImportWorkers()
{
    const QList<QPointer<QThread>> workers = std::exchange(Workers(), {});
    for (const QPointer<QThread>& worker : workers) {
        if (!worker)
            continue;
        worker->wait();
        delete worker.data();
    }
}

} // namespace DatabaseTransfer
