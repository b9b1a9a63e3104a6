#pragma once
// The user values of a token: a table of names and values in which the values
// are edited in place. It edits the set it was given and saves nothing.

#include <QTimer>

#include <memory>

#include "Frames.CustomPropsFrameBase.h"

class QTableWidget;

class TfrCustomPropsEditor : public TfrCustomPropsFrameBase, public ICustomPropsEditor
{
    Q_OBJECT
public:
    explicit TfrCustomPropsEditor(QWidget* parent = nullptr);
    ~TfrCustomPropsEditor() override;

    // IView
    void Show() override { show(); }
    void Hide() override { hide(); }
    // IDependencyView
    void UpdateView() override;
    // ICustomPropsEditor
    TNotifyEvent GetOnChange() const override { return FOnChange; }
    std::shared_ptr<Lockwyn::ITokenCustomProperties> GetTokenCustomProperties() override;
    void SetOnChange(const TNotifyEvent& event) override { FOnChange = event; }
    void SetTokenCustomProperties(
        const std::shared_ptr<Lockwyn::ITokenCustomProperties>& properties) override;

protected:
    QStringList Names() override;
    bool Exists(const QString& name) override;
    void WriteBack() override;
    void AddName(const QString& name) override;
    void DeleteName(const QString& name) override;
    QString CurrentName() const override;
    void SelectName(const QString& name) override;
    void Rebuild() override { UpdateView(); }
    void LocalizerUpdate() override;

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateColumnWidths();
    void UpdateDeleteButton();
    void FocusChanged(QWidget* old, QWidget* now);

    std::shared_ptr<Lockwyn::ITokenCustomProperties> FTokenCustomProperties;
    bool FGridFocused = false;
    QTableWidget* sgProps = nullptr;
    QTimer* tmrFocusLost = nullptr;
};
