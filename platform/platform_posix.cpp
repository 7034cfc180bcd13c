// Linux and the browser: the POSIX calls behind platform.h.
#include "platform/platform.h"

#include <sys/resource.h>

#include <cstdlib>

void platform_set_env(const char* name, const char* value, bool overwrite) {
    setenv(name, value, overwrite ? 1 : 0);
}

long long platform_peak_memory_bytes() {
    struct rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0) return -1;
    return (long long)usage.ru_maxrss * 1024;  // kilobytes on Linux
}

void platform_attach_console() {}
