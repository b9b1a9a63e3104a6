#pragma once
// The program's main window. Its application-wide hook sees the messages meant
// for the program as a whole, such as the instance message of a second copy.

#include <QMainWindow>

class TfMain : public QMainWindow
{
    Q_OBJECT
public:
    explicit TfMain(QWidget* parent = nullptr);
    ~TfMain() override;

Q_SIGNALS:
    // A second copy of the program was started.
    void InstanceMessageReceived();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BringToView();
};
