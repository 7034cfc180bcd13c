// What an error message quotes of a player's or a script's bytes: one short,
// printable line whatever the bytes were.
#pragma once
#include <string>

// The first 40 bytes of s, each one that is not printable ASCII as \xNN.
std::string printable_excerpt(const std::string& s);
