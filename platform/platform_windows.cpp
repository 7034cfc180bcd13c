// Windows: the Win32 and C runtime calls behind platform.h.
#include "platform/platform.h"

#include <windows.h>
#include <psapi.h>

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
