#pragma once
// The about box: logo, product name and version, how databases are
// encrypted, the product page, and the licences of the libraries shipped.

#include <QDialog>
#include <QPixmap>

class QComboBox;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class TfrDialogHeader;

class TAboutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TAboutDialog(QWidget* parent = nullptr);

    // The logo; empty until its owner sets it.
    QPixmap GetPicture() const { return FPicture; }
    void SetPicture(const QPixmap& picture);
    // Shows the box modally.
    void Show();

    // What "Copy version info" puts on the clipboard: the product's, Qt's and
    // the system's versions, for a support request.
    static QString VersionInfo();

protected:
    void changeEvent(QEvent* event) override;

private:
    void CreateControls();
    QWidget* CreateProductPanel();
    QWidget* CreateLibraryPanel();
    QWidget* CreateButtonRow();
    void LocalizerUpdate();
    void ShowLicence(int row);
    void CopyVersionInfo();

    QPixmap FPicture;
    TfrDialogHeader* frDialogHeader = nullptr;
    QLabel* imgLogo = nullptr;
    QLabel* lblProductName = nullptr;
    QLabel* lblVersion = nullptr;
    QLabel* lblEncryption = nullptr;
    QLabel* lblProductPage = nullptr;
    QLabel* lblLibraries = nullptr;
    QComboBox* cbLibraries = nullptr;
    QPlainTextEdit* memLicence = nullptr;
    QPushButton* btnCopyVersionInfo = nullptr;
    QPushButton* btnClose = nullptr;
};
