#include "ConvertLib.FileOutput.h"

#include <QSaveFile>

namespace Lockwyn {

namespace {

// Collects the many small writes of a writer and passes them on in large
// pieces, which a file takes far faster.
class TChunkedOutput : public QIODevice
{
public:
    explicit TChunkedOutput(QIODevice& target) : FTarget(target)
    {
        open(QIODevice::WriteOnly | QIODevice::Unbuffered);
    }
    bool Flush()
    {
        const bool written = FBuffer.isEmpty() || FTarget.write(FBuffer) == FBuffer.size();
        FBuffer.clear();
        return written && !FFailed;
    }

protected:
    qint64 readData(char*, qint64) override { return -1; }
    qint64 writeData(const char* data, qint64 size) override
    {
        FBuffer.append(data, size);
        if (FBuffer.size() >= ChunkSize)
            FFailed = !Flush();
        return FFailed ? -1 : size;
    }

private:
    static constexpr qsizetype ChunkSize = qsizetype(1) << 20;
    QIODevice& FTarget;
    QByteArray FBuffer;
    bool FFailed = false;
};

} // namespace

bool WriteFileAtomically(const QString& fileName, const std::function<bool(QIODevice&)>& write)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    TChunkedOutput output(file);
    if (!file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner) || !write(output) ||
        !output.Flush()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}

} // namespace Lockwyn
