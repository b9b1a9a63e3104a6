#include "Platform.BrowserProcess.h"

#include <QWinEventNotifier>

#include <algorithm>
#include <cstring>
#include <thread>
#include <vector>

#include <windows.h>

namespace Platform {

namespace {

constexpr DWORD PipeBufferSize = 1 << 20;
constexpr DWORD ReadChunk = 64 * 1024;
constexpr DWORD TerminateWaitMs = 5000;
// The C runtime hands descriptors to a child in lpReserved2: their count, a
// flag byte per descriptor, then a handle per descriptor.
constexpr int HandedDescriptors = 5;
constexpr unsigned char DescriptorOpen = 0x01;
constexpr unsigned char DescriptorPipe = 0x08;

// One argument quoted as CommandLineToArgvW reads it back.
std::wstring QuoteArgument(const QString& argument)
{
    const std::wstring text = argument.toStdWString();
    if (!text.empty() && text.find_first_of(L" \t\"") == std::wstring::npos)
        return text;
    std::wstring quoted = L"\"";
    size_t backslashes = 0;
    for (wchar_t c : text) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        quoted.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        quoted += c;
    }
    quoted.append(backslashes * 2, L'\\');
    quoted += L'"';
    return quoted;
}

std::wstring EnvironmentBlock(const QProcessEnvironment& environment)
{
    std::wstring block;
    for (const QString& variable : environment.toStringList()) {
        block += variable.toStdWString();
        block += L'\0';
    }
    block += L'\0';
    return block;
}

// The descriptor table that puts the two pipe ends on 3 and 4.
std::vector<BYTE> DescriptorTable(HANDLE commandRead, HANDLE answerWrite)
{
    std::vector<BYTE> table(sizeof(int) + HandedDescriptors * (1 + sizeof(HANDLE)));
    const int count = HandedDescriptors;
    std::memcpy(table.data(), &count, sizeof count);
    BYTE* flags = table.data() + sizeof(int);
    BYTE* handles = flags + HandedDescriptors;
    for (int fd = 0; fd < HandedDescriptors; ++fd) {
        HANDLE handle = INVALID_HANDLE_VALUE;
        if (fd == 3)
            handle = commandRead;
        if (fd == 4)
            handle = answerWrite;
        flags[fd] = handle == INVALID_HANDLE_VALUE ? 0 : DescriptorOpen | DescriptorPipe;
        std::memcpy(handles + fd * sizeof(HANDLE), &handle, sizeof handle);
    }
    return table;
}

void CloseIfOpen(HANDLE& handle)
{
    if (handle) {
        CloseHandle(handle);
        handle = nullptr;
    }
}

} // namespace

class TBrowserProcess::TImpl
{
public:
    explicit TImpl(TBrowserProcess* owner) : FOwner(owner) {}

    bool Start(const QString& program, const QStringList& arguments,
               const QProcessEnvironment& environment, QString* error)
    {
        SECURITY_ATTRIBUTES inheritable{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
        HANDLE commandRead = nullptr;
        HANDLE answerWrite = nullptr;
        if (!CreatePipe(&commandRead, &FWrite, &inheritable, PipeBufferSize) ||
            !CreatePipe(&FRead, &answerWrite, &inheritable, PipeBufferSize))
            return Fail(error, {commandRead, answerWrite});
        SetHandleInformation(FWrite, HANDLE_FLAG_INHERIT, 0);
        SetHandleInformation(FRead, HANDLE_FLAG_INHERIT, 0);

        std::vector<BYTE> table = DescriptorTable(commandRead, answerWrite);
        STARTUPINFOEXW startup{};
        startup.StartupInfo.cb = sizeof startup;
        startup.StartupInfo.cbReserved2 = WORD(table.size());
        startup.StartupInfo.lpReserved2 = table.data();
        // Only the two pipe ends are inherited.
        SIZE_T attributeSize = 0;
        InitializeProcThreadAttributeList(nullptr, 1, 0, &attributeSize);
        std::vector<BYTE> attributes(attributeSize);
        auto* list = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributes.data());
        InitializeProcThreadAttributeList(list, 1, 0, &attributeSize);
        HANDLE inherited[] = {commandRead, answerWrite};
        UpdateProcThreadAttribute(list, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited,
                                  sizeof inherited, nullptr, nullptr);
        startup.lpAttributeList = list;

        std::wstring commandLine = QuoteArgument(program);
        for (const QString& argument : arguments)
            commandLine += L' ' + QuoteArgument(argument);
        std::wstring environmentBlock = EnvironmentBlock(environment);
        const std::wstring programName = program.toStdWString();
        PROCESS_INFORMATION process{};
        const BOOL started = CreateProcessW(
            programName.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
            CREATE_SUSPENDED | CREATE_UNICODE_ENVIRONMENT | EXTENDED_STARTUPINFO_PRESENT,
            environmentBlock.data(), nullptr, &startup.StartupInfo, &process);
        DeleteProcThreadAttributeList(list);
        if (!started)
            return Fail(error, {commandRead, answerWrite});
        CloseHandle(commandRead);
        CloseHandle(answerWrite);

        // Closing the job ends every process the browser started.
        FJob = CreateJobObjectW(nullptr, nullptr);
        JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
        limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
        SetInformationJobObject(FJob, JobObjectExtendedLimitInformation, &limits, sizeof limits);
        AssignProcessToJobObject(FJob, process.hProcess);
        ResumeThread(process.hThread);
        CloseHandle(process.hThread);
        FProcess = process.hProcess;
        FPid = process.dwProcessId;
        FProcessNotifier = new QWinEventNotifier(FProcess);
        QObject::connect(FProcessNotifier, &QWinEventNotifier::activated, FOwner,
                         [this] { EndedByItself(); });
        FReader = std::thread([this, read = FRead] { ReadLoop(read); });
        return true;
    }

    qint64 ProcessId() const { return FPid; }

    void Write(QByteArray&& bytes)
    {
        DWORD written = 0;
        const char* data = bytes.constData();
        qsizetype left = bytes.size();
        while (FWrite && left > 0 && WriteFile(FWrite, data, DWORD(left), &written, nullptr)) {
            data += written;
            left -= written;
        }
        std::fill(bytes.begin(), bytes.end(), '\0');
    }

    void Stop(int graceMs)
    {
        FStopped = true;
        CloseIfOpen(FWrite);
        if (FProcessNotifier) {
            FProcessNotifier->setEnabled(false);
            FProcessNotifier->deleteLater();
            FProcessNotifier = nullptr;
        }
        if (FProcess)
            WaitForSingleObject(FProcess, DWORD(std::max(graceMs, 0)));
        if (FJob)
            TerminateJobObject(FJob, 1);
        if (FProcess)
            WaitForSingleObject(FProcess, TerminateWaitMs);
        // The browser's end of the answer pipe is gone with it, so the
        // reader's ReadFile returns.
        if (FReader.joinable())
            FReader.join();
        CloseIfOpen(FRead);
        CloseIfOpen(FProcess);
        CloseIfOpen(FJob);
        FPid = 0;
    }

    bool Pending() const { return FProcess != nullptr; }

private:
    bool Fail(QString* error, std::initializer_list<HANDLE> handles)
    {
        if (error)
            *error = qt_error_string(int(GetLastError()));
        for (HANDLE handle : handles)
            if (handle)
                CloseHandle(handle);
        CloseIfOpen(FWrite);
        CloseIfOpen(FRead);
        return false;
    }

    void ReadLoop(HANDLE read)
    {
        std::vector<char> buffer(ReadChunk);
        DWORD n = 0;
        while (ReadFile(read, buffer.data(), ReadChunk, &n, nullptr) && n > 0) {
            QByteArray chunk(buffer.data(), qsizetype(n));
            QMetaObject::invokeMethod(
                FOwner,
                [this, chunk] {
                    if (!FStopped)
                        Q_EMIT FOwner->Received(chunk);
                },
                Qt::QueuedConnection);
        }
    }

    void EndedByItself()
    {
        if (FStopped)
            return;
        Stop(0);
        Q_EMIT FOwner->Ended();
    }

    TBrowserProcess* FOwner;
    HANDLE FProcess = nullptr;
    HANDLE FJob = nullptr;
    HANDLE FWrite = nullptr;
    HANDLE FRead = nullptr;
    DWORD FPid = 0;
    QWinEventNotifier* FProcessNotifier = nullptr;
    std::thread FReader;
    bool FStopped = false;
};

TBrowserProcess::TBrowserProcess(QObject* parent)
    : QObject(parent), FImpl(std::make_unique<TImpl>(this))
{
}

TBrowserProcess::~TBrowserProcess()
{
    if (FImpl->Pending())
        FImpl->Stop(0);
}

bool TBrowserProcess::Start(const QString& program, const QStringList& arguments,
                            const QProcessEnvironment& environment, QString* error)
{
    return FImpl->Start(program, arguments, environment, error);
}

// The job object keeps every helper of the browser; no marker is needed.
void TBrowserProcess::SetHelperMarker(const QString&) {}

qint64 TBrowserProcess::ProcessId() const
{
    return FImpl->ProcessId();
}

void TBrowserProcess::Write(QByteArray&& bytes)
{
    FImpl->Write(std::move(bytes));
}

void TBrowserProcess::Stop(int graceMs)
{
    FImpl->Stop(graceMs);
}

} // namespace Platform
