#pragma once
#include <windows.h>
#include <cstdio>
inline void PROF(const char* what) {
    static LARGE_INTEGER f{}, t0{};
    if (!f.QuadPart) { QueryPerformanceFrequency(&f); QueryPerformanceCounter(&t0); }
    LARGE_INTEGER t; QueryPerformanceCounter(&t);
    std::fprintf(stderr, "PROF %lu.%03lu %8.2f ms %s\n", GetTickCount() / 1000, GetTickCount() % 1000, (t.QuadPart - t0.QuadPart) * 1000.0 / f.QuadPart, what);
    std::fflush(stderr);
}
