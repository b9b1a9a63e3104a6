#pragma once
// The choice of the browser web pages are opened and logged in to: the
// system's default browser, or one of the installed browsers listed with
// their icons. Edits the settings UseDefaultBrowser and SelectedBrowserPath.

#include <QList>
#include <QPixmap>
#include <QWidget>

#include <memory>

#include "BrowserScanLib.Interfaces.h"
#include "Lockwyn.Interfaces.h"

class QCheckBox;
class QComboBox;

class TfrBrowserSelector : public QWidget, public IBrowserSelector, public IUIStatePersistent
{
    Q_OBJECT
public:
    // Lists the browsers the enumerator finds.
    explicit TfrBrowserSelector(QWidget* parent = nullptr);

    // IBrowserSelector
    std::shared_ptr<Lockwyn::IBrowserInfo> GetSelectedBrowser() override;
    bool GetUseDefaultBrowser() override;
    void SetSelectedBrowser(const std::shared_ptr<Lockwyn::IBrowserInfo>& browser) override;
    void SetUseDefaultBrowser(bool value) override;
    void UpdateBrowserList() override;

    // IUIStatePersistent
    void LoadUIState() override;
    void SaveUIState() override;

protected:
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void LocalizerUpdate();
    void ApplyEnabling();
    // Selects the item of the same browser, if there is one.
    void SelectSameBrowser(const std::shared_ptr<Lockwyn::IBrowserInfo>& browser);

    // The enumerator's items as listed; item i of the combo is browser i.
    std::shared_ptr<Lockwyn::IBrowserItems> FItems;
    // The icons at the size of the list.
    QList<QPixmap> FImages;

    QCheckBox* chkUseDefaultBrowser = nullptr;
    QComboBox* cbbBrowsers = nullptr;
};
