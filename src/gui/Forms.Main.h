#pragma once
// The program's main window. Its application-wide hook sees the messages meant
// for the program as a whole, such as the instance message of a second copy.

#include <QMainWindow>

#include "Lockwyn.Interfaces.h"

class TfMain : public QMainWindow, public IMainView
{
    Q_OBJECT
public:
    // Registers the file listener and starts the controller, which runs the
    // start dialog until a database is open.
    explicit TfMain(QWidget* parent = nullptr);
    ~TfMain() override;

    // IMainView
    void Show() override { show(); }
    void Hide() override { hide(); }
    QString GetSearchText() override { return {}; }
    bool IsSearchActive() override { return false; }
    std::optional<Lockwyn::ITokenList> GetFilteredTokens() override { return std::nullopt; }
    Lockwyn::ITokenGroupList GetGroupsOfFilteredTokens() override { return {}; }
    std::optional<Lockwyn::ITokenGroupList> GetFilteredGroups() override { return std::nullopt; }
    Lockwyn::ITokenGroupList GetSearchScopeGroups() override;
    ITokenGroupTreeView* GetTokenGroupTreeView() override { return nullptr; }
    ITokenListView* GetTokenListView() override { return nullptr; }
    IInfoPanel* GetInfoPanel() override { return nullptr; }
    void SetSearchText(const QString&) override {}
    void OpenMainURLAndFill(bool) override {}
    void UpdateSearchFilter() override {}
    void NormalizeTopMost() override;
    void RestoreTopMost() override;
    void UpdateCaption() override;

Q_SIGNALS:
    // A second copy of the program was started.
    void InstanceMessageReceived();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void DatabaseFileModified(const QString& fileName);
    bool AskReload();
    void SetStayOnTop(bool stayOnTop);

    int FNormalizeTopMostCounter = 0;
};
