#include "LockwynLib.Lockwyn.h"

#include "LockwynLib.DatabaseFile.h"
#include "LockwynLib.Kdf.h"
#include "LockwynLib.ObjectFactory.h"
#include "LockwynLib.OperationHistory.h"
#include "LockwynLib.PasswordGenerator.h"
#include "LockwynLib.PasswordQualityMeter.h"
#include "LockwynLib.SecureMemory.h"

namespace Lockwyn {

TLockwyn::TLockwyn()
{
    EnsureSodium();
    FObjectFactory = std::make_shared<TObjectFactory>();
    FDatabaseFile = std::make_shared<TDatabaseFile>(std::make_shared<TKeyCache>(), true);
    FOperationHistory = std::make_shared<TOperationHistory>();
    FGenerator = std::make_shared<TPasswordGenerator>();
    FMeter = std::make_shared<TPasswordQualityMeter>();
}

} // namespace Lockwyn
