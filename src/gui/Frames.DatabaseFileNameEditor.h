#pragma once
// The database file field of the start dialog: an edit for the name of a new
// database, a list of recent files for opening one, and a browse button that
// runs the matching file dialog.

#include <QAbstractButton>
#include <QString>
#include <QWidget>

#include "Lockwyn.Interfaces.h"
#include "Orvanta.Vcl.RecentFilesComboBox.h"

class QLineEdit;

// The browse button: the open icon centred, with a light blue two-tone
// background while hot or pressed.
class TSelectFileButton : public QAbstractButton
{
    Q_OBJECT
public:
    explicit TSelectFileButton(QWidget* parent = nullptr);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QIcon FOpenIcon;
};

class TfrDatabaseFileNameEditor : public QWidget, public IDatabaseFileNameEditor
{
    Q_OBJECT
public:
    explicit TfrDatabaseFileNameEditor(QWidget* parent = nullptr);

    // IDatabaseFileNameEditor
    TDatabaseOpenMode GetMode() const override { return FMode; }
    const TOvRecentItems& GetRecentItems() const override { return FRecentItems; }
    QString GetFileName() const override;
    bool GetEmpty() const override;
    void SetMode(TDatabaseOpenMode mode) override;
    void SetRecentItems(const TOvRecentItems* items) override;
    void SetFileName(const QString& fileName) override;
    void Clear() override;
    void Focus() override;
    bool SelectFile() override;
    bool SelectFileInMode(TDatabaseOpenMode mode) override;

    // The name offered for a new database: "Passwords.lwdb" in the user's
    // documents folder.
    static QString DefaultNewDatabaseName();

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void FillComboBox();
    void SelectToOpen(const QString& fileName);
    QString RunFileDialog(TDatabaseOpenMode mode, const QString& initialFileName);

    TDatabaseOpenMode FMode = TDatabaseOpenMode::domCreateNewDatabase;
    QString FFileNameToOpen;
    QString FFileNameToCreate;
    TOvRecentItems FRecentItems;
    QLineEdit* FFileNameEdit = nullptr;
    TOvRecentFilesComboBox* FRecentFilesComboBox = nullptr;
    TSelectFileButton* btnSelectFile = nullptr;
};
