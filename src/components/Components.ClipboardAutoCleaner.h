#pragma once
// Puts user names and passwords on the clipboard and takes them off again:
// after a delay the clipboard is emptied, but only when it still holds exactly
// the text put there, so whatever the user copied since is left alone. Every
// text goes on the clipboard marked secret for clipboard managers, and the
// remembered text is kept in memory that is wiped when it is cleaned or
// replaced.
//
// One instance per program (ClipboardAutoCleaner). With AutoCleanOnDestroy
// it cleans once more when the program ends, while the application and its
// clipboard still exist.

#include <QObject>

#include "Components.SecureText.h"

class QTimer;

class TClipboardAutoCleanerBase : public QObject
{
    Q_OBJECT
public:
    TClipboardAutoCleanerBase();
    ~TClipboardAutoCleanerBase() override;

    // Replaces the clipboard's content by AText and remembers it. With
    // AAutoCleanSeconds > 0 the clean-up runs that many seconds after this
    // copy (an earlier pending clean-up is dropped); otherwise none is scheduled.
    void CopyToClipboard(const QString& AText, int AAutoCleanSeconds = -1);
    // Stops a scheduled clean-up; the remembered text stays.
    void CancelAutoClean();

    bool AutoCleanOnDestroy() const { return FAutoCleanOnDestroy; }
    void SetAutoCleanOnDestroy(bool value) { FAutoCleanOnDestroy = value; }
    // A clean-up is scheduled.
    bool IsCleanPending() const;
    // A text is remembered for cleaning.
    bool HasTextToClean() const { return !FClipboardTextToClean.IsEmpty(); }

private:
    friend void CleanClipboardAtApplicationEnd();

    void Clean();
    void ApplicationEnding();

    QTimer* FAutoCleanTimer;
    TSecureText FClipboardTextToClean;
    bool FAutoCleanOnDestroy = false;
    bool FApplicationEnded = false;
};

TClipboardAutoCleanerBase& ClipboardAutoCleaner();
void ReleaseClipboardAutoCleaner();
