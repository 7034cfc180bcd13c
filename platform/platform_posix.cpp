// Linux and the browser: the POSIX calls behind platform.h.
#include "platform/platform.h"

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
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

void platform_attach_console() {}
