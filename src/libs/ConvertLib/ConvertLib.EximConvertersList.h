#pragma once
// The library's root object: the converters by their fixed index.

#include "ConvertLib.Converters.h"

#include <QHash>

namespace Lockwyn {

class TEximConvertersList : public IEximConvertersList
{
public:
    TEximConvertersList();

    std::shared_ptr<IConverter> GetConverter(int index) override;
    void SetObjectFactory(const std::shared_ptr<IObjectFactory>& factory) override;

private:
    std::shared_ptr<TConvertLibContext> FContext;
    QHash<int, std::shared_ptr<IConverter>> FConverters;
};

} // namespace Lockwyn
