#pragma once
// ITokenCustomProperties and ITokenCustomPropertiesTemplate over a list.

#include "LockwynLib.Interfaces.h"
#include "LockwynLib.ListAccess.h"

namespace Lockwyn {

using TCustomPropertyList = QList<TTokenCustomProperty>;

class TTokenCustomProperties : public ITokenCustomProperties
{
public:
    explicit TTokenCustomProperties(TListAccess<TTokenCustomProperty> items)
        : FItems(std::move(items))
    {
    }
    const TCustomPropertyList& Items() const { return FItems.Get(); }

    bool GetEmpty() override { return Items().isEmpty(); }
    int GetCount() override { return int(Items().size()); }
    TTokenCustomProperty GetItem(int index) override;
    QStringList GetNames() override;
    bool Exists(const QString& name) override { return IndexOf(name) >= 0; }
    Nullable<QString> GetValue(const QString& name) override;
    void SetValue(const QString& name, const QString& value) override;
    void AddEmpty(const QString& name) override { Add(name, QString()); }
    void Add(const QString& name, const QString& value) override;
    void Delete(const QString& name) override;
    void Clear() override { FItems.Edit().clear(); }
    void ApplyTemplate(const std::shared_ptr<ITokenCustomPropertiesTemplate>& source) override;
    void Assign(const std::shared_ptr<ITokenCustomProperties>& source) override;
    std::shared_ptr<ICloner<ITokenCustomProperties>> GetCloner() override;
    std::shared_ptr<IComparer<ITokenCustomProperties>> GetComparer() override;

private:
    qsizetype IndexOf(const QString& name) const;
    TListAccess<TTokenCustomProperty> FItems;
};

class TTokenCustomPropertiesTemplate : public ITokenCustomPropertiesTemplate
{
public:
    explicit TTokenCustomPropertiesTemplate(TListAccess<QString> names) : FNames(std::move(names))
    {
    }
    const QList<QString>& Names() const { return FNames.Get(); }

    int GetCount() override { return int(Names().size()); }
    QString GetItem(int index) override;
    QStringList GetNames() override { return Names(); }
    bool Exists(const QString& name) override { return Names().contains(name); }
    void Add(const QString& name) override;
    void Delete(const QString& name) override { FNames.Edit().removeAll(name); }
    void Clear() override { FNames.Edit().clear(); }
    void Assign(const std::shared_ptr<ITokenCustomPropertiesTemplate>& source) override;
    std::shared_ptr<ICloner<ITokenCustomPropertiesTemplate>> GetCloner() override;
    std::shared_ptr<IComparer<ITokenCustomPropertiesTemplate>> GetComparer() override;

private:
    TListAccess<QString> FNames;
};

// The list of any implementation.
TCustomPropertyList CustomPropertyItems(const std::shared_ptr<ITokenCustomProperties>& source);
QStringList TemplateNames(const std::shared_ptr<ITokenCustomPropertiesTemplate>& source);

} // namespace Lockwyn
