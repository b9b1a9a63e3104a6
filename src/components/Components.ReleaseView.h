#pragma once

#include <QThread>
#include <QWidget>

// Hides a dialog that is done and frees it: at once when no event loop runs
// (a deferred delete would then never happen), otherwise deferred.
inline void ReleaseDialogView(QWidget* view)
{
    view->hide();
    if (QThread::currentThread()->loopLevel() == 0)
        delete view;
    else
        view->deleteLater();
}
