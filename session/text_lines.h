// What the settings file, scripts and demos share in reading lines of text
// that a player may have written or saved with any editor.
#pragma once
#include <cstddef>
#include <string>

// A space, a tab, or the CR of a CRLF line end.
bool text_is_space(char c);

// s without the spaces (text_is_space) at either end.
std::string text_trim(const std::string& s);

// 3 when the text begins with UTF-8's byte order mark, which some editors
// put first, else 0: where the text proper begins.
size_t text_start(const char* text, size_t length);
