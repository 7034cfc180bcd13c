// The script writer: run-length lines in the replay script format, named from
// the one key table of replay_script.h.
#include "replay/script_writer.h"

#include <string>

#include "replay/replay_script.h"

void script_writer_start(ScriptWriter& writer, std::FILE* file) { writer = ScriptWriter{file, 0, false, 0}; }

void script_writer_pass(ScriptWriter& writer, uint32_t keys, bool close) {
    // A close belongs to a line's first pass; a line holds at most as many
    // passes as the parser takes.
    if (writer.run > 0 && (keys != writer.keys || close || writer.run == REPLAY_MAX_PASSES_PER_LINE))
        script_writer_end_line(writer);
    if (writer.run == 0) {
        writer.keys = keys;
        writer.close = close;
    }
    writer.run += 1;
}

void script_writer_end_line(ScriptWriter& writer) {
    if (writer.run == 0) return;
    const std::string keys = replay_keys_text(writer.keys, writer.close);
    std::fprintf(writer.file, "%llu %s\n", (unsigned long long)writer.run, keys.c_str());
    writer.run = 0;
}
