// A library that lacks the entry function.
#include "TestLib.Interfaces.h"

TESTLIB_EXPORT int SomethingElse()
{
    return 1;
}
