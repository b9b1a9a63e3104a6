#include "Forms.Main.h"

#include <QApplication>
#include <QEvent>

#include "Lockwyn.Settings.h"
#include "Platform.SingleInstance.h"

TfMain::TfMain(QWidget* parent) : QMainWindow(parent)
{
    setObjectName(QStringLiteral("fMain"));
    setWindowTitle(QStringLiteral("Lockwyn"));
    resize(900, 600);
    qApp->installEventFilter(this);
}

TfMain::~TfMain()
{
    qApp->removeEventFilter(this);
    GUISettings().Save();
}

bool TfMain::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == qApp && event->type() == Platform::TInstanceMessageEvent::EventType()) {
        Q_EMIT InstanceMessageReceived();
        if (!isVisible())
            BringToView();
        return true;
    }
    return QMainWindow::eventFilter(watched, event);
}

void TfMain::BringToView()
{
    showNormal();
    raise();
    activateWindow();
}
