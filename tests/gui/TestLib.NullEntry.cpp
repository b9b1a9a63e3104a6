// A library whose entry function hands back nothing.
#include "TestLib.Interfaces.h"

TESTLIB_EXPORT void GetInstance(std::shared_ptr<ITestLibRoot>* out)
{
    out->reset();
}
