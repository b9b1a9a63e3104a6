#pragma once
// Root interface of ConvertLib: the import and export converters. Its operations are declared here as the
// program comes to use them.

namespace Lockwyn {

class IEximConvertersList
{
public:
    virtual ~IEximConvertersList() = default;
};

} // namespace Lockwyn
