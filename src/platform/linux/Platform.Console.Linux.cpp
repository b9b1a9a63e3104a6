#include "Platform.Console.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <termios.h>
#include <unistd.h>

namespace Platform {

namespace {

// Echo is off while the object lives.
class TEchoOff
{
public:
    TEchoOff() : FActive(tcgetattr(STDIN_FILENO, &FSaved) == 0)
    {
        if (!FActive)
            return;
        termios quiet = FSaved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        quiet.c_lflag |= ECHONL;
        tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
    }
    ~TEchoOff()
    {
        if (FActive)
            tcsetattr(STDIN_FILENO, TCSAFLUSH, &FSaved);
    }
    TEchoOff(const TEchoOff&) = delete;
    TEchoOff& operator=(const TEchoOff&) = delete;

private:
    termios FSaved{};
    bool FActive;
};

void Wipe(char* buffer, size_t size)
{
    volatile char* p = buffer;
    while (size--)
        *p++ = 0;
}

} // namespace

bool IsInputTerminal()
{
    return isatty(STDIN_FILENO) == 1;
}

std::optional<QString> ReadSecretLine(const QString& prompt)
{
    const bool terminal = IsInputTerminal();
    if (terminal) {
        fputs(prompt.toLocal8Bit().constData(), stderr);
        fflush(stderr);
    }
    std::optional<TEchoOff> echoOff;
    if (terminal)
        echoOff.emplace();
    char* buffer = nullptr;
    size_t capacity = 0;
    const ssize_t length = getline(&buffer, &capacity, stdin);
    echoOff.reset();
    if (length < 0) {
        free(buffer);
        return std::nullopt;
    }
    size_t size = size_t(length);
    while (size > 0 && (buffer[size - 1] == '\n' || buffer[size - 1] == '\r'))
        --size;
    QString line = QString::fromUtf8(buffer, qsizetype(size));
    Wipe(buffer, capacity);
    free(buffer);
    return line;
}

} // namespace Platform
