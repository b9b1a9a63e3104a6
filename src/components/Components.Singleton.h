#pragma once
// A process-wide instance created on first use and freed by Release (or at
// program end). Used from the GUI thread only, so Instance takes no lock.

#include <memory>

template <typename T> class TSingleton
{
public:
    static T& Instance()
    {
        auto& slot = Slot();
        if (!slot)
            slot = std::make_unique<T>(); // a throwing constructor leaves the slot empty
        return *slot;
    }

    static bool Exists() { return Slot() != nullptr; }

    static void Release() { Slot().reset(); }

private:
    static std::unique_ptr<T>& Slot()
    {
        static std::unique_ptr<T> slot;
        return slot;
    }
};
