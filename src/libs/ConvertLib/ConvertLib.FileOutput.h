#pragma once
// Writes an export file so that it either appears complete or not at all: the
// content goes to a temporary file beside the target, which replaces the target
// only when everything was written. The file is readable by its owner only, as
// it holds every password in the clear.

#include <QString>

#include <functional>

class QIODevice;

namespace Lockwyn {

bool WriteFileAtomically(const QString& fileName, const std::function<bool(QIODevice&)>& write);

} // namespace Lockwyn
