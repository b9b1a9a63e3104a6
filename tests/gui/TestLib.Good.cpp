// A library that hands out its root object.
#include "TestLib.Interfaces.h"

namespace {

class TTestLibRoot : public ITestLibRoot
{
public:
    int Answer() const override { return 42; }
};

} // namespace

TESTLIB_EXPORT void GetInstance(std::shared_ptr<ITestLibRoot>* out)
{
    *out = std::make_shared<TTestLibRoot>();
}
