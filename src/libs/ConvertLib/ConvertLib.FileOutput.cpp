#include "ConvertLib.FileOutput.h"

#include <QSaveFile>

namespace Lockwyn {

bool WriteFileAtomically(const QString& fileName, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !write(file)) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace Lockwyn
