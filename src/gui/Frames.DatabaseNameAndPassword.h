#pragma once
// The content of the start dialog's create, open and unlock pages: the master
// password, the database file and the read-only check box, in the order the
// page needs them.

#include <QWidget>

#include "Lockwyn.Interfaces.h"

class QCheckBox;
class QLabel;
class QVBoxLayout;
class TfrDatabaseFileNameEditor;
class TfrPasswordEditor;

class TfrDatabaseNameAndPassword : public QWidget,
                                   public IDatabaseNameAndPassword,
                                   public IUIReorderableControl
{
    Q_OBJECT
public:
    explicit TfrDatabaseNameAndPassword(QWidget* parent = nullptr);

    // IDatabaseNameAndPassword
    TDatabaseOpenMode GetMode() const override { return FMode; }
    IPasswordEditor* GetPasswordEditor() override;
    IDatabaseFileNameEditor* GetDatabaseFileNameEditor() override;
    bool GetReadOnly() const override;
    void SetMode(TDatabaseOpenMode mode) override;
    void SetReadOnly(bool readOnly) override;
    void Clear() override;

    // IUIReorderableControl
    void ReorderControls() override;

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();

    TDatabaseOpenMode FMode = TDatabaseOpenMode::domCreateNewDatabase;
    QVBoxLayout* FLayout = nullptr;
    QWidget* pnlPassword = nullptr;
    TfrPasswordEditor* frPasswordEditor = nullptr;
    QWidget* pnlDatabasePath = nullptr;
    QLabel* lblDatabaseFileName = nullptr;
    TfrDatabaseFileNameEditor* frDatabaseFileNameEditor = nullptr;
    QCheckBox* chkReadOnly = nullptr;
};
