#pragma once
// Cloners and comparers made from a function.

#include "LockwynLib.Interfaces.h"

#include <functional>

namespace Lockwyn {

template <typename T> class TFunctionCloner : public ICloner<T>
{
public:
    explicit TFunctionCloner(std::function<std::shared_ptr<T>()> clone) : FClone(std::move(clone))
    {
    }
    std::shared_ptr<T> Clone() override { return FClone(); }

private:
    std::function<std::shared_ptr<T>()> FClone;
};

template <typename T> class TFunctionComparer : public IComparer<T>
{
public:
    explicit TFunctionComparer(std::function<bool(const std::shared_ptr<T>&)> equals)
        : FEquals(std::move(equals))
    {
    }
    bool Equals(const std::shared_ptr<T>& other) override { return other && FEquals(other); }

private:
    std::function<bool(const std::shared_ptr<T>&)> FEquals;
};

template <typename T>
std::shared_ptr<ICloner<T>> MakeCloner(std::function<std::shared_ptr<T>()> clone)
{
    return std::make_shared<TFunctionCloner<T>>(std::move(clone));
}

template <typename T>
std::shared_ptr<IComparer<T>> MakeComparer(std::function<bool(const std::shared_ptr<T>&)> equals)
{
    return std::make_shared<TFunctionComparer<T>>(std::move(equals));
}

} // namespace Lockwyn
