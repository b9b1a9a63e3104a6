#pragma once
// Reports an error that no command handled: one dialog with the message and a
// button that copies the report, or standard error when nobody can see a
// window. The message always goes to standard error as well.

#include <QDialog>
#include <QString>

class QLabel;
class QPushButton;

class TfCrashReport : public QDialog
{
    Q_OBJECT
public:
    explicit TfCrashReport(const QString& message, QWidget* parent = nullptr);

    static QString ReportText(const QString& message);

protected:
    void changeEvent(QEvent* event) override;

private:
    void LocalizerUpdate();
    void CopyReport();

    QString FMessage;
    QLabel* FHeadline;
    QPushButton* FCopyButton;
    QPushButton* FCloseButton;
};

class TCrashReport
{
public:
    // Shows the report; creates a GUI application for it when none exists
    // and a display can show it.
    static void Show(const QString& message);

    // Reports exceptions that escape everything else before the process ends.
    static void InstallTerminateHandler();
};
