#pragma once
// The GUI application object. An exception that escapes an event handler ends
// only the command that raised it: it is reported and the program goes on.

#include <QApplication>

class TLockwynApplication : public QApplication
{
    Q_OBJECT
    // False once the program was ended before its main window was shown.
    Q_PROPERTY(bool ShowMainForm MEMBER FShowMainForm)
public:
    TLockwynApplication(int& argc, char** argv);

    bool notify(QObject* receiver, QEvent* event) override;
    bool ShowMainForm() const { return FShowMainForm; }

private:
    bool FShowMainForm = true;
};
