// Linux and the browser: the POSIX calls behind platform.h.
#include "platform/platform.h"

#ifndef __EMSCRIPTEN__
#include <dlfcn.h>
#endif
#include <fcntl.h>
#include <sys/file.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// An XDG folder: the variable when it holds an absolute path, else the
// default under the home folder.
std::string xdg_folder(const char* variable, const char* home_default) {
    const char* set = std::getenv(variable);
    std::string base;
    if (set && set[0] == '/') {
        base = set;
    } else {
        const char* home = std::getenv("HOME");
        if (!home || !*home) return "";
        base = std::string(home) + "/" + home_default;
    }
    return base + "/zuba-trilo";
}

}  // namespace

void platform_set_env(const char* name, const char* value, bool overwrite) {
    setenv(name, value, overwrite ? 1 : 0);
}

long long platform_peak_memory_bytes() {
    struct rusage usage;
    if (getrusage(RUSAGE_SELF, &usage) != 0) return -1;
    return (long long)usage.ru_maxrss * 1024;  // kilobytes on Linux
}

std::string platform_config_folder() { return xdg_folder("XDG_CONFIG_HOME", ".config"); }

std::string platform_data_folder() { return xdg_folder("XDG_DATA_HOME", ".local/share"); }

std::string platform_path(const std::string& folder, const std::string& name) {
    return !folder.empty() && folder.back() == '/' ? folder + name : folder + "/" + name;
}

bool platform_make_folders(const std::string& path) {
    if (path.empty()) return false;
    for (size_t i = 1; i <= path.size(); ++i) {
        if (i < path.size() && path[i] != '/') continue;
        const std::string part = path.substr(0, i);
        if (mkdir(part.c_str(), 0777) != 0 && errno != EEXIST) return false;
    }
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::FILE* platform_create_new_file(const std::string& path) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) close(fd);
    return f;
}

bool platform_replace_file(const std::string& from, const std::string& to) {
    // The new bytes reach the disk before the name moves, so a crash leaves
    // the old file or the whole new one.
    const int fd = open(from.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd >= 0) {
        fsync(fd);
        close(fd);
    }
    return rename(from.c_str(), to.c_str()) == 0;
}

PlatformFileInfo platform_file_info(const std::string& path) {
    PlatformFileInfo info{};
    struct stat st;
    if (stat(path.c_str(), &st) != 0) {
        info.error = errno;
        info.kind = (errno == ENOENT || errno == ENOTDIR) ? PLATFORM_FILE_MISSING : PLATFORM_FILE_ERROR;
        return info;
    }
    info.kind = S_ISREG(st.st_mode)   ? PLATFORM_FILE_REGULAR
                : S_ISDIR(st.st_mode) ? PLATFORM_FILE_FOLDER
                                      : PLATFORM_FILE_OTHER;
    info.size = uint64_t(st.st_size);
    info.mode = uint32_t(st.st_mode & 07777);
    info.volume = uint64_t(st.st_dev);
    info.index = uint64_t(st.st_ino);
    info.links = uint32_t(st.st_nlink);
    // A file nobody may write is read-only even to root, who could: the
    // player marked it so on purpose.
    info.read_only = info.kind == PLATFORM_FILE_REGULAR &&
                     ((st.st_mode & 0222) == 0 || access(path.c_str(), W_OK) != 0);
    return info;
}

PlatformReadResult platform_read_file(const std::string& path, size_t max_bytes, std::string& text, int& error) {
    text.clear();
    error = 0;
    // O_NONBLOCK: opening a FIFO for reading would otherwise wait for a writer.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        if (errno == ENOENT || errno == ENOTDIR) return PLATFORM_READ_MISSING;
        if (errno == EISDIR) return PLATFORM_READ_NOT_REGULAR;
        return PLATFORM_READ_FAILED;
    }
    struct stat st;
    if (fstat(fd, &st) != 0) {
        error = errno;
        close(fd);
        return PLATFORM_READ_FAILED;
    }
    if (!S_ISREG(st.st_mode)) {
        close(fd);
        return PLATFORM_READ_NOT_REGULAR;
    }
    if (uint64_t(st.st_size) > max_bytes) {
        close(fd);
        return PLATFORM_READ_TOO_LARGE;
    }
    // A file that grows while it is read is still cut at max_bytes + 1.
    char buffer[65536];
    while (true) {
        const ssize_t n = read(fd, buffer, sizeof buffer);
        if (n < 0) {
            if (errno == EINTR) continue;
            error = errno;
            close(fd);
            text.clear();
            return PLATFORM_READ_FAILED;
        }
        if (n == 0) break;
        text.append(buffer, size_t(n));
        if (text.size() > max_bytes) {
            close(fd);
            text.clear();
            return PLATFORM_READ_TOO_LARGE;
        }
    }
    close(fd);
    return PLATFORM_READ_OK;
}

std::string platform_resolve_links(const std::string& path) {
    std::string current = path;
    for (int hops = 0; hops < 40; ++hops) {
        char target[PATH_MAX];
        const ssize_t n = readlink(current.c_str(), target, sizeof target - 1);
        if (n < 0) return current;  // no link (or nothing there): this is the file
        target[n] = '\0';
        if (target[0] == '/') {
            current = target;
        } else {
            const size_t slash = current.find_last_of('/');
            current = (slash == std::string::npos ? std::string() : current.substr(0, slash + 1)) + target;
        }
    }
    return path;
}

bool platform_set_mode(const std::string& path, uint32_t mode) { return chmod(path.c_str(), mode_t(mode)) == 0; }

bool platform_lock_beside(const std::string& path, PlatformLock& lock, int& error) {
    lock.handle = -1;
    const size_t slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        error = errno;
        return false;
    }
    while (flock(fd, LOCK_EX) != 0) {
        if (errno == EINTR) continue;
        error = errno;
        close(fd);
        return false;
    }
    lock.handle = fd;
    return true;
}

void platform_unlock(PlatformLock& lock) {
    if (lock.handle < 0) return;
    flock(int(lock.handle), LOCK_UN);
    close(int(lock.handle));
    lock.handle = -1;
}

void platform_attach_console() {}

void* platform_loaded_function(const char* library, const char* name) {
#ifdef __EMSCRIPTEN__
    (void)library;
    (void)name;
    return nullptr;
#else
    // RTLD_NOLOAD: only a library already in the process is looked at.
    void* handle = dlopen(library, RTLD_LAZY | RTLD_NOLOAD);
    if (!handle) return nullptr;
    void* function = dlsym(handle, name);
    dlclose(handle);  // the library stays: whoever loaded it still holds it
    return function;
#endif
}
