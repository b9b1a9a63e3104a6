#pragma once
// The start dialog's first page: three big command buttons, spread evenly
// over the page's height.

#include <QWidget>

class QCommandLinkButton;

class TfrStartCommandButtons : public QWidget
{
    Q_OBJECT
public:
    explicit TfrStartCommandButtons(QWidget* parent = nullptr);

    QCommandLinkButton* CreateNewDatabaseButton() const { return btnCommandCreateNewDatabase; }
    QCommandLinkButton* OpenDatabaseButton() const { return btnCommandOpenDatabase; }
    QCommandLinkButton* ExitButton() const { return btnCommandExit; }

Q_SIGNALS:
    void OnCreateNewDatabase();
    void OnOpenDatabase();
    void OnCloseApplication();

protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void LocalizerUpdate();
    void SpreadButtons();

    QCommandLinkButton* btnCommandCreateNewDatabase = nullptr;
    QCommandLinkButton* btnCommandOpenDatabase = nullptr;
    QCommandLinkButton* btnCommandExit = nullptr;
};
