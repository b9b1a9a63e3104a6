#pragma once
// The root object handed out by GetInstance.

#include "LockwynLib.Interfaces.h"

namespace Lockwyn {

class TKeyCache;

class TLockwyn : public ILockwyn
{
public:
    TLockwyn();

    std::shared_ptr<IObjectFactory> GetObjectFactory() override { return FObjectFactory; }
    std::shared_ptr<IDatabaseFile> GetDatabaseFile() override { return FDatabaseFile; }
    std::shared_ptr<IOperationHistory> GetOperationHistory() override { return FOperationHistory; }
    std::shared_ptr<IPasswordGenerator> GetPasswordGenerator() override { return FGenerator; }
    std::shared_ptr<IPasswordQualityMeter> GetPasswordQualityMeter() override { return FMeter; }

private:
    std::shared_ptr<IObjectFactory> FObjectFactory;
    std::shared_ptr<IDatabaseFile> FDatabaseFile;
    std::shared_ptr<IOperationHistory> FOperationHistory;
    std::shared_ptr<IPasswordGenerator> FGenerator;
    std::shared_ptr<IPasswordQualityMeter> FMeter;
};

} // namespace Lockwyn
