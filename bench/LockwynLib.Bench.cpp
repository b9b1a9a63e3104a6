// Timing of the storage library through its interfaces, loaded with the real
// loader, on generated databases with a cheap key derivation.
//   bench_LockwynLib generate <tokens> <file>   builds a database file
//   bench_LockwynLib measure <file>             open, save after one change,
//                                               search; one line of figures
// Peak memory is the measuring process's own, so generate and measure run
// as separate processes (bench/run does both).

#include "Components.CompanionLibLoader.h"
#include "LockwynLib.Interfaces.h"
#include "Platform.Memory.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>

#include <sys/resource.h>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

using namespace Lockwyn;

namespace {

const QString MasterPassword = QStringLiteral("benchmark master password");
const QString SearchTerm = QStringLiteral("needle");
const QString CollisionTemplate = QStringLiteral("%0:s (Imported %1:d)");
const QString LibraryName = QStringLiteral("LockwynLib");

double Median(std::vector<double> values)
{
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

// Milliseconds of each of `runs` calls of body.
std::vector<double> Time(int runs, const std::function<void()>& body)
{
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer timer;
        timer.start();
        body();
        times.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    return times;
}

double PeakMiB()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

[[noreturn]] void Fail(const char* what, int code)
{
    std::fprintf(stderr, "%s failed with code %d\n", what, code);
    std::exit(1);
}

std::shared_ptr<IToken> MakeToken(IObjectFactory& factory, int i)
{
    auto token = factory.CreateToken();
    token->SetTitle(QStringLiteral("Token %1").arg(i));
    token->SetUserName(QStringLiteral("user%1@example.com").arg(i));
    token->SetPassword(QStringLiteral("pw-%1-Xq7v_Lr2-Tz9k").arg(i));
    // One token in a hundred carries the search term.
    const QString host = i % 100 == 0 ? SearchTerm : QStringLiteral("site");
    token->SetURL(QStringLiteral("https://%1%2.example.com/login").arg(host).arg(i));
    token->SetNotes(QStringLiteral("Notes of token %1, kept for the benchmark.").arg(i));
    if (i % 5 == 0) {
        auto properties = token->GetCustomProperties();
        properties->SetValue(QStringLiteral("PIN"), QString::number(1000 + i % 9000));
        properties->SetValue(QStringLiteral("Account"), QStringLiteral("ACC-%1").arg(i));
    }
    return token;
}

// About tokens/100 groups, three levels deep: each top group has two
// children with two children each.
std::shared_ptr<ITokenGroup> MakeTree(IObjectFactory& factory, int tokens)
{
    auto root = factory.CreateTokenGroup();
    std::vector<std::shared_ptr<ITokenGroup>> groups;
    const int topGroups = std::max(1, tokens / 100 / 7);
    for (int t = 0; t < topGroups; ++t) {
        auto top = factory.CreateTokenGroup();
        top->SetTitle(QStringLiteral("Group %1").arg(t));
        groups.push_back(top);
        for (int c = 0; c < 2; ++c) {
            auto child = factory.CreateTokenGroup();
            child->SetTitle(QStringLiteral("Group %1.%2").arg(t).arg(c));
            groups.push_back(child);
            for (int g = 0; g < 2; ++g) {
                auto grandChild = factory.CreateTokenGroup();
                grandChild->SetTitle(QStringLiteral("Group %1.%2.%3").arg(t).arg(c).arg(g));
                groups.push_back(grandChild);
                child->AppendGroup(grandChild);
            }
            top->AppendGroup(child);
        }
        root->AppendGroup(top);
    }
    for (int i = 0; i < tokens; ++i)
        groups[std::size_t(i) % groups.size()]->AppendToken(MakeToken(factory, i));
    return root;
}

int Generate(int tokens, const QString& fileName)
{
    TCompanionLibLoader<ILockwyn> library(LibraryName);
    ILockwyn& lockwyn = *library.MainInterface();
    auto file = lockwyn.GetDatabaseFile();
    file->SetKeyDerivationSettings({1, 8u << 10});
    auto storage = file->GetTokenStorage();
    storage->Clear();
    storage->SetMasterPassword(MasterPassword);
    auto tree = MakeTree(*lockwyn.GetObjectFactory(), tokens);
    lockwyn.GetOperationHistory()->Execute(
        storage->GetRootGroup()->CreateImportOperation(tree, false, CollisionTemplate));
    QFile::remove(fileName);
    QFile::remove(fileName + QStringLiteral(".bak"));
    if (const int code = file->CreateFile(fileName))
        Fail("CreateFile", code);
    std::printf("generated %d tokens, %lld groups in %s\n",
                int(storage->GetRootGroup()->GetAllTokens().size()),
                qlonglong(storage->GetRootGroup()->GetAllGroups().size()), qPrintable(fileName));
    return 0;
}

int Measure(const QString& fileName)
{
    TCompanionLibLoader<ILockwyn> library(LibraryName);
    ILockwyn& lockwyn = *library.MainInterface();
    auto file = lockwyn.GetDatabaseFile();
    auto storage = file->GetTokenStorage();
    const auto open = Time(3, [&] {
        file->Close();
        storage->Clear();
        if (const int code = file->Open(fileName, MasterPassword))
            Fail("Open", code);
    });
    auto root = storage->GetRootGroup();
    const int tokens = int(root->GetAllTokens().size());
    auto some = root->GetAllTokens().at(tokens / 2);
    int round = 0;
    const auto save = Time(5, [&] {
        auto copy = some->GetCloner()->Clone();
        copy->SetNotes(QStringLiteral("changed %1").arg(++round));
        lockwyn.GetOperationHistory()->Execute(some->CreateUpdateOperation(copy));
        if (const int code = file->Save())
            Fail("Save", code);
    });
    qsizetype hits = 0;
    const auto search = Time(10, [&] { hits = root->FindTokens(SearchTerm, true).size(); });
    std::printf("%8d tokens  open %7.1f ms  save after one change %7.1f ms  search %6.2f ms "
                "(%lld hits)  peak memory %6.1f MiB\n",
                tokens, Median(open), Median(save), Median(search), qlonglong(hits), PeakMiB());
    return 0;
}

} // namespace

int main(int argc, char** argv)
{
    Platform::HardenHeap(); // as the program runs
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 4 && args[1] == QLatin1String("generate"))
        return Generate(args[2].toInt(), args[3]);
    if (args.size() == 3 && args[1] == QLatin1String("measure"))
        return Measure(args[2]);
    std::fprintf(stderr, "usage: %s generate <tokens> <file> | measure <file>\n", argv[0]);
    return 2;
}
