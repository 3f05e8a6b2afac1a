// Starts as Ordnerlink starts (PrepareProcess), prints the error mode the
// process then has, and fails as its arguments say, so that the crash
// report's test sees what a user would see:
//     crash_probe window|console [access|heaplock|throw]
//     crash_probe console check FOLDER
// "access" writes through a null pointer; "heaplock" does so while it holds
// the process heap's lock, as a crash inside an allocation on a damaged heap
// would; "throw" lets a C++ exception leave a noexcept function, as an error
// in a window procedure would; without either it ends there. "check" runs
// "/check /all FOLDER" as the command mode does and then returns, its C
// runtime's teardown printing "Abbau" should the process still be there.
#include "CommandMode.h"
#include "ProgramStart.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// Read at the write, so that the compiler cannot know it is null.
int* volatile nowhere = nullptr;

// Not inlined, so that the write happens in this program's own code.
__attribute__((noinline)) void WriteThroughNull() {
    *nowhere = 1;
}

// A text shorter than the position asked for throws std::out_of_range.
__attribute__((noinline)) std::wstring TailFrom(const std::wstring& text, std::size_t position) noexcept {
    return text.substr(position);
}

void SayTeardown() {
    std::printf("Abbau\n");
    std::fflush(stdout);
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2 || argc > 4)
        return 2;
    const std::wstring notice = argv[1];
    const std::wstring fault = argc >= 3 ? argv[2] : L"";
    PrepareProcess(notice == L"window" ? CrashNotice::Window : CrashNotice::Console);
    std::printf("%lu\n", static_cast<unsigned long>(GetErrorMode()));
    std::fflush(stdout);
    if (fault == L"check" && argc == 4) {
        std::atexit(SayTeardown);
        return RunCommandLine({L"/check", L"/all", argv[3]});
    }
    if (fault == L"access")
        WriteThroughNull();
    else if (fault == L"heaplock" && HeapLock(GetProcessHeap()))
        WriteThroughNull();
    else if (fault == L"throw")
        return static_cast<int>(TailFrom(L"ab", 5).size());
    return fault.empty() ? 0 : 2;
}
