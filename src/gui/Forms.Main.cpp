#include "Forms.Main.h"

#include <QApplication>
#include <QCloseEvent>
#include <QEvent>
#include <QFileInfo>

#include "Components.MessageDialog.h"
#include "Lockwyn.App.h"
#include "Lockwyn.Format.h"
#include "Lockwyn.LibraryConnections.h"
#include "Lockwyn.LocalizedStrings.h"
#include "Lockwyn.Settings.h"
#include "Platform.SingleInstance.h"

namespace {

// Keyboard, mouse-button and wheel input restarts the idle countdown; mouse
// movement alone does not.
bool IsUserActivity(QEvent::Type type)
{
    switch (type) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
        return true;
    default:
        return false;
    }
}

} // namespace

TfMain::TfMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Lockwyn"));
    resize(900, 600);
    qApp->installEventFilter(this);
    LockwynApp().AddFileModificationListener({this, [this](const QString& fileName) {
                                                  DatabaseFileModified(fileName);
                                              }});
    LockwynApp().Start();
}

TfMain::~TfMain()
{
    qApp->removeEventFilter(this);
    GUISettings().Save();
    LockwynApp().RemoveFileModificationListener({this, {}});
}

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == Platform::TInstanceMessageEvent::EventType()) {
        Q_EMIT InstanceMessageReceived();
        if (!isVisible())
            LockwynApp().ToggleShowHide();
        return true;
    }
    if (watched == qApp && event->type() == FileModificationSignalEvent) {
        LockwynApp().ProcessFileModificationSignal();
        return true;
    }
    if (IsUserActivity(event->type()))
        LockwynApp().ResetIdleTimer();
    return QMainWindow::eventFilter(watched, event);
}

// Closing the main window ends the program.
void TfMain::closeEvent(QCloseEvent* event)
{
    QMainWindow::closeEvent(event);
    // Once the window is gone: the application ignores a quit while a
    // window is still shown.
    if (event->isAccepted())
        QMetaObject::invokeMethod(qApp, &QCoreApplication::quit, Qt::QueuedConnection);
}

void TfMain::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    UpdateCaption();
}

void TfMain::DatabaseFileModified(const QString&)
{
    if (isVisible()) {
        raise();
        activateWindow();
    }
    if (AskReload())
        LockwynApp().ReloadDatabase();
}

bool TfMain::AskReload()
{
    const TIdleTimerSuspension suspended(LockwynApp());
    return TMessageDialog::Show(
               LocalizedStrings().FDatabaseFileModifiedDlgMessage, TMsgDlgType::mtConfirmation,
               TMessageDialog::TDialogButtons::dbYesNo, 1) == TMessageDialog::idYes;
}

void TfMain::UpdateCaption()
{
    const TLocalizedStrings& strings = LocalizedStrings();
    const QString fileName = GetLockwyn()->GetDatabaseFile()->GetFileName();
    if (fileName.trimmed().isEmpty()) {
        setWindowTitle(strings.FAppName);
        return;
    }
    const QString name = QFileInfo(fileName).fileName();
    setWindowTitle(LockwynApp().GetReadOnlyMode()
                       ? Lockwyn::Format(QStringLiteral("%s - %s %s"), strings.FAppName, name,
                                         strings.FReadOnlyFormCaption)
                       : Lockwyn::Format(QStringLiteral("%s - %s"), strings.FAppName, name));
}

Lockwyn::ITokenGroupList TfMain::GetSearchScopeGroups()
{
    return LockwynApp().GetRootGroup()->GetAllGroups();
}

void TfMain::NormalizeTopMost()
{
    if (FNormalizeTopMostCounter == 0 && windowFlags().testFlag(Qt::WindowStaysOnTopHint))
        SetStayOnTop(false);
    ++FNormalizeTopMostCounter;
}

void TfMain::RestoreTopMost()
{
    if (FNormalizeTopMostCounter <= 0)
        return;
    if (--FNormalizeTopMostCounter == 0 && GUISettings().AlwaysOnTop())
        SetStayOnTop(true);
}

void TfMain::SetStayOnTop(bool stayOnTop)
{
    // Changing the flags of a shown window hides it.
    const bool visible = isVisible();
    setWindowFlag(Qt::WindowStaysOnTopHint, stayOnTop);
    if (visible)
        show();
}
