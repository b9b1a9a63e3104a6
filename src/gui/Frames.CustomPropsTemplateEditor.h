#pragma once
// The names of the user values that new tokens of a group start with. It
// edits the template it was given and saves nothing.

#include <memory>

#include "Frames.CustomPropsFrameBase.h"

class QListWidget;

class TfrCustomPropsTemplateEditor : public TfrCustomPropsFrameBase,
                                     public ICustomPropsTemplateEditor
{
    Q_OBJECT
public:
    explicit TfrCustomPropsTemplateEditor(QWidget* parent = nullptr);

    // IView
    void Show() override { show(); }
    void Hide() override { hide(); }
    // IDependencyView
    void UpdateView() override;
    // ICustomPropsTemplateEditor
    TNotifyEvent GetOnChange() const override { return FOnChange; }
    std::shared_ptr<Lockwyn::ITokenCustomPropertiesTemplate>
    GetTokenCustomPropertiesTemplate() override;
    void SetOnChange(const TNotifyEvent& event) override { FOnChange = event; }
    void SetTokenCustomPropertiesTemplate(
        const std::shared_ptr<Lockwyn::ITokenCustomPropertiesTemplate>& templ) override;

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

private:
    void UpdateDeleteButton();

    std::shared_ptr<Lockwyn::ITokenCustomPropertiesTemplate> FTokenCustomPropertiesTemplate;
    QListWidget* lstPropsTemplate = nullptr;
};
