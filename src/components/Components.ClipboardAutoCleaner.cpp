#include "Components.ClipboardAutoCleaner.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QTimer>

#include <algorithm>
#include <climits>

#include "Components.SecretMimeData.h"
#include "Components.Singleton.h"

void CleanClipboardAtApplicationEnd()
{
    if (TSingleton<TClipboardAutoCleanerBase>::Exists())
        TSingleton<TClipboardAutoCleanerBase>::Instance().ApplicationEnding();
}

TClipboardAutoCleanerBase::TClipboardAutoCleanerBase() : FAutoCleanTimer(new QTimer(this))
{
    FAutoCleanTimer->setObjectName(QStringLiteral("FAutoCleanTimer"));
    FAutoCleanTimer->setSingleShot(true);
    connect(FAutoCleanTimer, &QTimer::timeout, this, &TClipboardAutoCleanerBase::Clean);
    // Runs while the application and its clipboard still exist, before the
    // program's statics are freed.
    qAddPostRoutine(CleanClipboardAtApplicationEnd);
}

TClipboardAutoCleanerBase::~TClipboardAutoCleanerBase()
{
    if (FApplicationEnded)
        return;
    qRemovePostRoutine(CleanClipboardAtApplicationEnd);
    if (FAutoCleanOnDestroy)
        Clean();
}

void TClipboardAutoCleanerBase::CopyToClipboard(const QString& AText, int AAutoCleanSeconds)
{
    QGuiApplication::clipboard()->setMimeData(new TSecretMimeData(AText));
    FClipboardTextToClean.Assign(AText);
    FAutoCleanTimer->stop();
    if (AAutoCleanSeconds > 0)
        FAutoCleanTimer->start(std::min(AAutoCleanSeconds, INT_MAX / 1000) * 1000);
}

void TClipboardAutoCleanerBase::CancelAutoClean()
{
    FAutoCleanTimer->stop();
}

bool TClipboardAutoCleanerBase::IsCleanPending() const
{
    return FAutoCleanTimer->isActive();
}

void TClipboardAutoCleanerBase::Clean()
{
    FAutoCleanTimer->stop();
    if (!FClipboardTextToClean.IsEmpty() && qGuiApp) {
        QClipboard* clipboard = QGuiApplication::clipboard();
        QString current = clipboard->text();
        if (FClipboardTextToClean.Equals(current))
            clipboard->clear();
        WipeString(current);
    }
    FClipboardTextToClean.Clear();
}

void TClipboardAutoCleanerBase::ApplicationEnding()
{
    FAutoCleanTimer->stop();
    if (FAutoCleanOnDestroy)
        Clean();
    FApplicationEnded = true;
}

TClipboardAutoCleanerBase& ClipboardAutoCleaner()
{
    return TSingleton<TClipboardAutoCleanerBase>::Instance();
}

void ReleaseClipboardAutoCleaner()
{
    TSingleton<TClipboardAutoCleanerBase>::Release();
}
