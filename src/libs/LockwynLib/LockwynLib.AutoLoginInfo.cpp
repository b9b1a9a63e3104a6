#include "LockwynLib.AutoLoginInfo.h"

namespace Lockwyn {

bool TAutoLoginInfo::Equals(const std::shared_ptr<IAutoLoginInfo>& other)
{
    return FValues == AutoLoginValues(other);
}

bool SameAutoLogin(const std::shared_ptr<IAutoLoginInfo>& left,
                   const std::shared_ptr<IAutoLoginInfo>& right)
{
    if (left == right)
        return true;
    return AutoLoginValues(left) == AutoLoginValues(right);
}

std::shared_ptr<IAutoLoginInfo> MakeAutoLoginInfo(const TAutoLoginValues& values)
{
    if (values == TAutoLoginValues())
        return nullptr;
    return std::make_shared<TAutoLoginInfo>(values);
}

} // namespace Lockwyn
