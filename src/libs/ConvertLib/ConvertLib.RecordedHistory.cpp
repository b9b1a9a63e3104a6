#include "ConvertLib.RecordedHistory.h"

namespace Lockwyn {

namespace {

class THistoryCloner : public ICloner<ITokenHistory>
{
public:
    explicit THistoryCloner(QList<TTokenHistoryEntry> entries) : FEntries(std::move(entries)) {}
    std::shared_ptr<ITokenHistory> Clone() override
    {
        return std::make_shared<TRecordedHistory>(FEntries);
    }

private:
    QList<TTokenHistoryEntry> FEntries;
};

class THistoryComparer : public IComparer<ITokenHistory>
{
public:
    explicit THistoryComparer(QList<TTokenHistoryEntry> entries) : FEntries(std::move(entries)) {}
    bool Equals(const std::shared_ptr<ITokenHistory>& other) override
    {
        return other && other->GetEntries() == FEntries;
    }

private:
    QList<TTokenHistoryEntry> FEntries;
};

} // namespace

TRecordedHistory::TRecordedHistory(QList<TTokenHistoryEntry> entries) : FEntries(std::move(entries))
{
}

int TRecordedHistory::GetCount()
{
    return int(FEntries.size());
}

QList<TTokenHistoryEntry> TRecordedHistory::GetEntries()
{
    return FEntries;
}

void TRecordedHistory::Clear()
{
    TTokenHistoryEntry cleared;
    cleared.Kind = TTokenHistoryEntryKind::thekHistoryCleared;
    cleared.DateTime = QDateTime::currentDateTime();
    FEntries = {cleared};
}

void TRecordedHistory::Assign(const std::shared_ptr<ITokenHistory>& source)
{
    FEntries = source ? source->GetEntries() : QList<TTokenHistoryEntry>();
}

std::shared_ptr<ICloner<ITokenHistory>> TRecordedHistory::GetCloner()
{
    return std::make_shared<THistoryCloner>(FEntries);
}

std::shared_ptr<IComparer<ITokenHistory>> TRecordedHistory::GetComparer()
{
    return std::make_shared<THistoryComparer>(FEntries);
}

} // namespace Lockwyn
