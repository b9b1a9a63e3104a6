#include "LockwynLib.CustomProperties.h"

#include "LockwynLib.Cloning.h"

namespace Lockwyn {

TTokenCustomProperty TTokenCustomProperties::GetItem(int index)
{
    if (index < 0 || index >= Items().size())
        throw std::out_of_range("Custom property index out of range");
    return Items().at(index);
}

QStringList TTokenCustomProperties::GetNames()
{
    QStringList names;
    names.reserve(Items().size());
    for (const auto& property : Items())
        names.append(property.GetName());
    return names;
}

Nullable<QString> TTokenCustomProperties::GetValue(const QString& name)
{
    const auto index = IndexOf(name);
    return index < 0 ? Nullable<QString>() : Nullable<QString>(Items().at(index).GetValue());
}

void TTokenCustomProperties::SetValue(const QString& name, const QString& value)
{
    const auto index = IndexOf(name);
    if (index < 0)
        FItems.Edit().append(TTokenCustomProperty(name, value));
    else
        FItems.Edit()[index].SetValue(value);
}

void TTokenCustomProperties::Add(const QString& name, const QString& value)
{
    if (Exists(name))
        throw std::invalid_argument("Custom property exists already");
    FItems.Edit().append(TTokenCustomProperty(name, value));
}

void TTokenCustomProperties::Delete(const QString& name)
{
    const auto index = IndexOf(name);
    if (index >= 0)
        FItems.Edit().removeAt(index);
}

void TTokenCustomProperties::ApplyTemplate(
    const std::shared_ptr<ITokenCustomPropertiesTemplate>& source)
{
    for (const auto& name : TemplateNames(source))
        if (!Exists(name))
            FItems.Edit().append(TTokenCustomProperty(name, QString()));
}

void TTokenCustomProperties::Assign(const std::shared_ptr<ITokenCustomProperties>& source)
{
    auto items = CustomPropertyItems(source);
    FItems.Edit() = std::move(items);
}

std::shared_ptr<ICloner<ITokenCustomProperties>> TTokenCustomProperties::GetCloner()
{
    return MakeCloner<ITokenCustomProperties>([items = Items()] {
        return std::make_shared<TTokenCustomProperties>(
            TListAccess<TTokenCustomProperty>::Own(items));
    });
}

std::shared_ptr<IComparer<ITokenCustomProperties>> TTokenCustomProperties::GetComparer()
{
    return MakeComparer<ITokenCustomProperties>(
        [items = Items()](const auto& other) { return items == CustomPropertyItems(other); });
}

qsizetype TTokenCustomProperties::IndexOf(const QString& name) const
{
    const auto& items = Items();
    for (qsizetype i = 0; i < items.size(); ++i)
        if (items.at(i).GetName() == name)
            return i;
    return -1;
}

QString TTokenCustomPropertiesTemplate::GetItem(int index)
{
    if (index < 0 || index >= Names().size())
        throw std::out_of_range("Template index out of range");
    return Names().at(index);
}

void TTokenCustomPropertiesTemplate::Add(const QString& name)
{
    if (!Exists(name))
        FNames.Edit().append(name);
}

void TTokenCustomPropertiesTemplate::Assign(
    const std::shared_ptr<ITokenCustomPropertiesTemplate>& source)
{
    auto names = TemplateNames(source);
    FNames.Edit() = std::move(names);
}

std::shared_ptr<ICloner<ITokenCustomPropertiesTemplate>> TTokenCustomPropertiesTemplate::GetCloner()
{
    return MakeCloner<ITokenCustomPropertiesTemplate>([names = Names()] {
        return std::make_shared<TTokenCustomPropertiesTemplate>(TListAccess<QString>::Own(names));
    });
}

std::shared_ptr<IComparer<ITokenCustomPropertiesTemplate>>
TTokenCustomPropertiesTemplate::GetComparer()
{
    return MakeComparer<ITokenCustomPropertiesTemplate>(
        [names = Names()](const auto& other) { return names == TemplateNames(other); });
}

TCustomPropertyList CustomPropertyItems(const std::shared_ptr<ITokenCustomProperties>& source)
{
    if (!source)
        return {};
    if (auto* own = dynamic_cast<TTokenCustomProperties*>(source.get()))
        return own->Items();
    TCustomPropertyList items;
    const int count = source->GetCount();
    for (int i = 0; i < count; ++i)
        items.append(source->GetItem(i));
    return items;
}

QStringList TemplateNames(const std::shared_ptr<ITokenCustomPropertiesTemplate>& source)
{
    if (!source)
        return {};
    if (auto* own = dynamic_cast<TTokenCustomPropertiesTemplate*>(source.get()))
        return own->Names();
    return source->GetNames();
}

} // namespace Lockwyn
