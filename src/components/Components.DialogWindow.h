#pragma once
// The window every dialog of the program has: a title bar with the system
// menu and a close button (more buttons where asked), application-modal, on
// a white client area.

#include <QDialog>
#include <QPalette>

inline void PrepareDialogWindow(QDialog& dialog, Qt::WindowFlags extraButtons = {})
{
    dialog.setWindowFlags((dialog.parentWidget() ? Qt::Dialog : Qt::Window) |
                          Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | extraButtons);
    dialog.setWindowModality(Qt::ApplicationModal);
    QPalette background = dialog.palette();
    background.setColor(QPalette::Window, Qt::white);
    dialog.setPalette(background);
    dialog.setAutoFillBackground(true);
}
