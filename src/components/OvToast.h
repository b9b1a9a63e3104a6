#pragma once
// A short notice in a small black box centred on a window; it fades out by
// itself after a while. At most one exists; it follows its window and goes
// away at once when that window closes, hides or is minimised.

#include <QPointer>
#include <QString>
#include <QTimer>
#include <QWidget>

#include "Components.Animation.h"

class TOvToast : public QWidget
{
    Q_OBJECT

public:
    // Shows AMessage centred on AControl for AInterval ms, then fades it out.
    // Replaces any toast already shown. Without a control nothing is shown.
    static void Show(QWidget* AControl, const QString& AMessage, int AInterval);
    // Removes every toast at once.
    static void Cancel();

    ~TOvToast() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    TOvToast(QWidget* AControl, const QString& AMessage, int AInterval);

    void Place();
    void Release();
    void StartFadeOut();
    void WatchAnchor(bool AWatch);

    QTimer FAutoCloseTimer;
    TUIAnimationEngine FFadeEngine;
    QPointer<QWidget> FAnchorForm;
    QPointer<QWidget> FControl;
    QString FMessage;
};
