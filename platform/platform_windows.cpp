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

// A Windows error as the nearest errno, so messages read alike everywhere.
int errno_of(DWORD e) {
    switch (e) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

// Opens path for reading its attributes or bytes, sharing it with every other
// reader and writer; folders open too (backup semantics) so they can be told.
HANDLE open_shared(const std::string& path, DWORD access) {
    return CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

PlatformFileInfo platform_file_info(const std::string& path) {
    PlatformFileInfo info{};
    HANDLE h = open_shared(path, 0);
    if (h == INVALID_HANDLE_VALUE) {
        const DWORD e = GetLastError();
        info.error = errno_of(e);
        info.kind = info.error == ENOENT ? PLATFORM_FILE_MISSING : PLATFORM_FILE_ERROR;
        return info;
    }
    BY_HANDLE_FILE_INFORMATION data;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &data)) {
        info.kind = PLATFORM_FILE_OTHER;
        CloseHandle(h);
        return info;
    }
    CloseHandle(h);
    info.kind = (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ? PLATFORM_FILE_FOLDER : PLATFORM_FILE_REGULAR;
    info.size = (uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
    info.read_only = info.kind == PLATFORM_FILE_REGULAR && (data.dwFileAttributes & FILE_ATTRIBUTE_READONLY);
    info.volume = data.dwVolumeSerialNumber;
    info.index = (uint64_t(data.nFileIndexHigh) << 32) | data.nFileIndexLow;
    info.links = uint32_t(data.nNumberOfLinks);
    return info;
}

PlatformReadResult platform_read_file(const std::string& path, size_t max_bytes, std::string& text, int& error) {
    text.clear();
    error = 0;
    HANDLE h = open_shared(path, GENERIC_READ);
    if (h == INVALID_HANDLE_VALUE) {
        error = errno_of(GetLastError());
        return error == ENOENT ? PLATFORM_READ_MISSING : PLATFORM_READ_FAILED;
    }
    BY_HANDLE_FILE_INFORMATION data;
    if (GetFileType(h) != FILE_TYPE_DISK || !GetFileInformationByHandle(h, &data) ||
        (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) {
        CloseHandle(h);
        return PLATFORM_READ_NOT_REGULAR;
    }
    if (((uint64_t(data.nFileSizeHigh) << 32) | data.nFileSizeLow) > max_bytes) {
        CloseHandle(h);
        return PLATFORM_READ_TOO_LARGE;
    }
    char buffer[65536];
    while (true) {
        DWORD n = 0;
        if (!ReadFile(h, buffer, sizeof buffer, &n, nullptr)) {
            error = errno_of(GetLastError());
            CloseHandle(h);
            text.clear();
            return PLATFORM_READ_FAILED;
        }
        if (n == 0) break;
        text.append(buffer, n);
        if (text.size() > max_bytes) {
            CloseHandle(h);
            text.clear();
            return PLATFORM_READ_TOO_LARGE;
        }
    }
    CloseHandle(h);
    return PLATFORM_READ_OK;
}

// A player's settings on Windows are seldom behind a link, and replacing the
// link itself there keeps the game's promise of never losing the file.
std::string platform_resolve_links(const std::string& path) { return path; }

bool platform_set_mode(const std::string&, uint32_t) { return true; }

bool platform_lock_beside(const std::string& path, PlatformLock& lock, int& error) {
    lock.handle = -1;
    const std::string name = path + ".lock";
    HANDLE h = CreateFileA(name.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                           OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (h == INVALID_HANDLE_VALUE) {
        error = errno_of(GetLastError());
        return false;
    }
    OVERLAPPED whole{};
    if (!LockFileEx(h, LOCKFILE_EXCLUSIVE_LOCK, 0, MAXDWORD, MAXDWORD, &whole)) {
        error = errno_of(GetLastError());
        CloseHandle(h);
        return false;
    }
    lock.handle = reinterpret_cast<intptr_t>(h);
    return true;
}

void platform_unlock(PlatformLock& lock) {
    if (lock.handle == -1) return;
    HANDLE h = reinterpret_cast<HANDLE>(lock.handle);
    OVERLAPPED whole{};
    UnlockFileEx(h, 0, MAXDWORD, MAXDWORD, &whole);
    CloseHandle(h);
    lock.handle = -1;
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

void* platform_loaded_function(const char* library, const char* name) {
    HMODULE module = GetModuleHandleA(library);
    if (!module) return nullptr;
    return reinterpret_cast<void*>(GetProcAddress(module, name));
}
