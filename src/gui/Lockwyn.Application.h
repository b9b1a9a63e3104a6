#pragma once
// The GUI application object. An exception that escapes an event handler ends
// only the command that raised it: it is reported and the program goes on.

#include <QApplication>

class TLockwynApplication : public QApplication
{
    Q_OBJECT
public:
    TLockwynApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
};
