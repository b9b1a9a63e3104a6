#pragma once
// The root interface of the three small libraries the loader tests load.

#include <QtGlobal>

#include <memory>

class ITestLibRoot
{
public:
    virtual ~ITestLibRoot() = default;
    virtual int Answer() const = 0;
};

#define TESTLIB_EXPORT extern "C" Q_DECL_EXPORT
