// Holds a file open as another program may: "hold_file PATH" opens PATH for
// reading and writing without sharing it with anyone, prints "held" and
// keeps it so until its standard input ends (at most two minutes). Exits 1
// when the file cannot be opened.
#include <windows.h>

#include <cstdio>

namespace {

DWORD WINAPI ReadToTheEnd(void*) {
    char buffer[64];
    DWORD cbRead = 0;
    while (ReadFile(GetStdHandle(STD_INPUT_HANDLE), buffer, sizeof buffer, &cbRead, nullptr) && cbRead > 0) {
    }
    return 0;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2)
        return 1;
    const HANDLE file = CreateFileW(argv[1], GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                                    FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    std::printf("held\n");
    std::fflush(stdout);
    const HANDLE reader = CreateThread(nullptr, 0, ReadToTheEnd, nullptr, 0, nullptr);
    if (reader) {
        WaitForSingleObject(reader, 120000);
        CloseHandle(reader);
    }
    CloseHandle(file);
    return 0;
}
