#include "ConvertLib.EximConvertersList.h"

namespace Lockwyn {

TEximConvertersList::TEximConvertersList() : FContext(std::make_shared<TConvertLibContext>())
{
    FConverters.insert(0, std::make_shared<TLockwynXmlConverter>(FContext));
    FConverters.insert(1, std::make_shared<TPlainTextConverter>(FContext));
    FConverters.insert(3, std::make_shared<TKeePassXmlConverter>(FContext));
    FConverters.insert(4, std::make_shared<TPasswordSafeXmlConverter>(FContext));
}

std::shared_ptr<IConverter> TEximConvertersList::GetConverter(int index)
{
    return FConverters.value(index);
}

void TEximConvertersList::SetObjectFactory(const std::shared_ptr<IObjectFactory>& factory)
{
    FContext->ObjectFactory = factory;
}

} // namespace Lockwyn
