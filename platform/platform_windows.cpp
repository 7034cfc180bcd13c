// Windows: the Win32 and C runtime calls behind platform.h.
#include "platform/platform.h"

#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>

void platform_set_env(const char* name, const char* value, bool overwrite) {
    if (!overwrite && std::getenv(name)) return;
    _putenv_s(name, value);
}

long long platform_peak_memory_bytes() {
    PROCESS_MEMORY_COUNTERS counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return (long long)counters.PeakWorkingSetSize;
}

namespace {

// A standard stream that already goes somewhere: a console, a file or a pipe.
bool stream_open(DWORD which) {
    HANDLE handle = GetStdHandle(which);
    return handle && handle != INVALID_HANDLE_VALUE && GetFileType(handle) != FILE_TYPE_UNKNOWN;
}

}  // namespace

void platform_attach_console() {
    const bool out = stream_open(STD_OUTPUT_HANDLE);
    const bool err = stream_open(STD_ERROR_HANDLE);
    if ((out && err) || !AttachConsole(ATTACH_PARENT_PROCESS)) return;
    // Should the console not open, the text goes nowhere, as it did before.
    if (!out) (void)std::freopen("CONOUT$", "w", stdout);
    if (!err) (void)std::freopen("CONOUT$", "w", stderr);
}
