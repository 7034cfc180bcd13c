// Lines of text as players' editors save them.
#include "session/text_lines.h"

#include <cstring>

namespace {

constexpr char BYTE_ORDER_MARK[] = "\xEF\xBB\xBF";
constexpr size_t BYTE_ORDER_MARK_SIZE = sizeof BYTE_ORDER_MARK - 1;

}  // namespace

bool text_is_space(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string text_trim(const std::string& s) {
    size_t a = 0, b = s.size();
    while (a < b && text_is_space(s[a])) ++a;
    while (b > a && text_is_space(s[b - 1])) --b;
    return s.substr(a, b - a);
}

size_t text_start(const char* text, size_t length) {
    return length >= BYTE_ORDER_MARK_SIZE && std::memcmp(text, BYTE_ORDER_MARK, BYTE_ORDER_MARK_SIZE) == 0
               ? BYTE_ORDER_MARK_SIZE
               : 0;
}
