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

std::string platform_config_folder() {
    const char* appdata = std::getenv("APPDATA");
    if (!appdata || !*appdata) return "";
    return std::string(appdata) + "\\zuba-trilo";
}

// Windows keeps a program's settings and data in the same roaming folder.
std::string platform_data_folder() { return platform_config_folder(); }

bool platform_make_folders(const std::string& path) {
    if (path.empty()) return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '\\' && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (part.size() == 2 && part[1] == ':') continue;  // a drive
        if (!CreateDirectoryA(part.c_str(), nullptr) && GetLastError() != ERROR_ALREADY_EXISTS) return false;
    }
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::FILE* platform_create_new_file(const std::string& path) {
    HANDLE h = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) return nullptr;
    CloseHandle(h);
    return std::fopen(path.c_str(), "wb");
}

bool platform_replace_file(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH) != 0;
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
