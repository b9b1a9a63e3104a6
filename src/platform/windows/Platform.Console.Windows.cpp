#include "Platform.Console.h"

#include <windows.h>

#include <cstdio>
#include <string>

namespace Platform {

namespace {

HANDLE Input()
{
    return GetStdHandle(STD_INPUT_HANDLE);
}

void Wipe(std::wstring& text)
{
    SecureZeroMemory(text.data(), text.size() * sizeof(wchar_t));
}

std::optional<QString> ReadConsoleLine(const QString& prompt)
{
    HANDLE input = Input();
    DWORD mode = 0;
    GetConsoleMode(input, &mode);
    fputws(reinterpret_cast<const wchar_t*>(prompt.utf16()), stderr);
    fflush(stderr);
    SetConsoleMode(input, (mode | ENABLE_LINE_INPUT) & ~DWORD(ENABLE_ECHO_INPUT));
    std::wstring text(1024, L'\0');
    DWORD read = 0;
    const BOOL ok = ReadConsoleW(input, text.data(), DWORD(text.size()), &read, nullptr);
    SetConsoleMode(input, mode);
    fputs("\n", stderr);
    if (!ok || read == 0) {
        Wipe(text);
        return std::nullopt;
    }
    DWORD size = read;
    while (size > 0 && (text[size - 1] == L'\n' || text[size - 1] == L'\r'))
        --size;
    QString line = QString::fromWCharArray(text.data(), int(size));
    Wipe(text);
    return line;
}

std::optional<QString> ReadPipedLine()
{
    std::string bytes;
    for (int c = fgetc(stdin); c != EOF && c != '\n'; c = fgetc(stdin))
        bytes.push_back(char(c));
    if (bytes.empty() && feof(stdin))
        return std::nullopt;
    while (!bytes.empty() && bytes.back() == '\r')
        bytes.pop_back();
    QString line = QString::fromUtf8(bytes.data(), qsizetype(bytes.size()));
    SecureZeroMemory(bytes.data(), bytes.size());
    return line;
}

} // namespace

bool IsInputTerminal()
{
    DWORD mode = 0;
    return GetConsoleMode(Input(), &mode) != 0;
}

std::optional<QString> ReadSecretLine(const QString& prompt)
{
    return IsInputTerminal() ? ReadConsoleLine(prompt) : ReadPipedLine();
}

} // namespace Platform
