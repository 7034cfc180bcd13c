// Fuzzes the replay script parser, demos included: any bytes give either a
// script whose lines are all in range (a demo's sync lines in pass order,
// each after the passes it checks; a cut-off line the file's last; a demo
// only of this program's rules and of a hash it knows), or one
// printable error "NAME:LINE: why" naming a line that exists. Never a crash.
#include <string>

#include "fuzz/fuzz_support.h"
#include "game/game.h"
#include "replay/replay_script.h"
#include "replay/world_state.h"

const std::string NAME = "fuzz.script";  // the input as the messages name it

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const char* text = reinterpret_cast<const char*>(data);
    int lines = 1;
    for (size_t i = 0; i < size; ++i) lines += text[i] == '\n';

    ReplayScript script;
    std::string error;
    bool newer = false;
    if (replay_parse_script(text, size, NAME, script, error, &newer)) {
        FUZZ_CHECK(script.demo_version >= 0 && script.demo_version <= REPLAY_DEMO_VERSION, "demo version %d",
                   script.demo_version);
        FUZZ_CHECK(script.demo_version > 0 || (script.syncs.empty() && script.cut_off_line == 0),
                   "a plain script with %zu sync lines, cut off at %d", script.syncs.size(), script.cut_off_line);
        FUZZ_CHECK(script.cut_off_line == 0 || (script.cut_off_line == lines && size > 0 && text[size - 1] != '\n'),
                   "cut off at line %d of %d", script.cut_off_line, lines);
        FUZZ_CHECK(script.rules_version == GAME_RULES_VERSION && world_hash_known(script.hash_version),
                   "a demo of rules %d, hash %d", script.rules_version, script.hash_version);
        uint64_t previous_sync = 0;
        for (size_t i = 0; i < script.syncs.size(); ++i) {
            const ReplaySync& sync = script.syncs[i];
            FUZZ_CHECK(sync.pass < script.total_passes && (i == 0 || sync.pass > previous_sync),
                       "sync line for pass %llu after %llu of %llu passes", (unsigned long long)sync.pass,
                       (unsigned long long)previous_sync, (unsigned long long)script.total_passes);
            previous_sync = sync.pass;
        }
        uint64_t total = 0;
        int previous_line = 0;
        for (const ReplayLine& l : script.lines) {
            FUZZ_CHECK(l.passes >= 1 && l.passes <= REPLAY_MAX_PASSES_PER_LINE, "a line of %llu passes",
                       static_cast<unsigned long long>(l.passes));
            FUZZ_CHECK(l.keys < (1u << REPLAY_KEY_COUNT), "keys 0x%x", l.keys);
            FUZZ_CHECK(l.source_line > previous_line && l.source_line <= lines, "source line %d after %d of %d",
                       l.source_line, previous_line, lines);
            previous_line = l.source_line;
            total += l.passes;
        }
        FUZZ_CHECK(script.total_passes == total, "total %llu, lines add up to %llu",
                   static_cast<unsigned long long>(script.total_passes), static_cast<unsigned long long>(total));
        return 0;
    }
    FUZZ_CHECK(!newer || error.compare(0, NAME.size() + 3, NAME + ":1:") == 0, "a newer demo not at line 1: %s",
               error.c_str());
    FUZZ_CHECK(error.compare(0, NAME.size() + 1, NAME + ":") == 0, "error without the name: %s", error.c_str());
    size_t pos = NAME.size() + 1;
    int line = 0;
    while (pos < error.size() && error[pos] >= '0' && error[pos] <= '9' && line <= lines) {
        line = line * 10 + (error[pos] - '0');
        ++pos;
    }
    FUZZ_CHECK(line >= 1 && line <= lines, "error names line %d of %d: %s", line, lines, error.c_str());
    FUZZ_CHECK(error.compare(pos, 2, ": ") == 0 && error.size() > pos + 2, "error without a reason: %s",
               error.c_str());
    for (unsigned char c : error) FUZZ_CHECK(c >= 32 && c < 127, "unprintable byte 0x%02x in the error", c);
    return 0;
}
