// Writes replay scripts as the passes come, the one writer of the recorder and
// the script planner: a run of passes holding the same keys becomes one
// "<passes> <keys>" line.
#pragma once
#include <cstdint>
#include <cstdio>

struct ScriptWriter {
    std::FILE* file;
    uint32_t keys;  // of the open line
    bool close;     // the open line begins with a window close
    uint64_t run;   // passes of the open line; 0 when none is open
};

void script_writer_start(ScriptWriter& writer, std::FILE* file);
// One pass holding `keys` (replay_script.h's bits); `close` puts a window
// close before it.
void script_writer_pass(ScriptWriter& writer, uint32_t keys, bool close = false);
// Writes the open line, so that a comment or a flush may follow.
void script_writer_end_line(ScriptWriter& writer);
