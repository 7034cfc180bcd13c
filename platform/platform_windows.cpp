// Windows: the Win32 and C runtime calls behind platform.h.
#include "platform/platform.h"

#include <windows.h>
#include <psapi.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <string>

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

bool file_exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// The folder the running exe is in, without a separator at its end; empty
// when Windows cannot say.
std::string exe_folder() {
    std::string path(MAX_PATH, '\0');
    for (;;) {
        const DWORD n = GetModuleFileNameA(nullptr, path.data(), DWORD(path.size()));
        if (n == 0) return "";
        if (n < path.size()) {
            path.resize(n);
            break;
        }
        if (path.size() >= 32768) return "";
        path.resize(path.size() * 2);
    }
    const size_t slash = path.find_last_of("\\/");
    return slash == std::string::npos ? "" : path.substr(0, slash);
}

// A portable copy: the marker beside the exe and a folder there the game can
// write in. An installed copy (its uninstaller beside the exe) never is, so
// that installing over an unpacked zip cannot hide the player's files.
std::string portable_folder() {
    const std::string exe = exe_folder();
    if (exe.empty() || !file_exists(platform_path(exe, PLATFORM_PORTABLE_MARKER)) ||
        file_exists(platform_path(exe, "uninstall.exe")))
        return "";
    const std::string folder = platform_path(exe, "zuba-trilo");
    if (!platform_make_folders(folder)) return "";
    // Program Files, a read-only share or a CD: the folder may be there but
    // closed to us. A file that deletes itself tells.
    const std::string probe = platform_path(folder, "write-test-" + std::to_string(GetCurrentProcessId()));
    HANDLE h = CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
    if (h == INVALID_HANDLE_VALUE) return "";
    CloseHandle(h);
    return folder;
}

}  // namespace

std::string platform_config_folder() {
    const std::string portable = portable_folder();
    if (!portable.empty()) return portable;
    const char* appdata = std::getenv("APPDATA");
    if (!appdata || !*appdata) return "";
    return platform_path(appdata, "zuba-trilo");
}

// Windows keeps a program's settings and data in the same roaming folder.
std::string platform_data_folder() { return platform_config_folder(); }

// Windows takes '/' as well, but the paths the game shows use '\\' alone.
std::string platform_path(const std::string& folder, const std::string& name) {
    std::string path = folder;
    if (!path.empty() && path.back() != '\\' && path.back() != '/') path += '\\';
    path += name;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

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
    if (h == INVALID_HANDLE_VALUE) {
        // errno, as the callers read it: a name taken is EEXIST (the
        // screenshots then try the next name), the rest as C would say.
        switch (GetLastError()) {
            case ERROR_FILE_EXISTS:
            case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
            case ERROR_ACCESS_DENIED: errno = EACCES; break;
            case ERROR_FILE_NOT_FOUND:
            case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
            default: errno = EIO; break;
        }
        return nullptr;
    }
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
