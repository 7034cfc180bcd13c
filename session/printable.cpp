// Quoting bad input in a message without letting its bytes through.
#include "session/printable.h"

#include <cstdio>

namespace {

constexpr size_t EXCERPT_BYTES = 40;

}  // namespace

std::string printable_excerpt(const std::string& s) {
    std::string out;
    for (unsigned char c : s.substr(0, EXCERPT_BYTES)) {
        if (c >= 32 && c < 127) {
            out += char(c);
        } else {
            char buf[8];
            std::snprintf(buf, sizeof buf, "\\x%02x", c);
            out += buf;
        }
    }
    return out;
}
