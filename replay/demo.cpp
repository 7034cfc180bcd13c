// Recording and stepping through demos. A demo is a replay script: keys per
// run of passes, with its format version first and sync lines between.
#include "replay/demo.h"

#include <cerrno>
#include <cstring>

#include "game/game.h"
#include "replay/replay_trace.h"
#include "replay/world_state.h"

namespace {

constexpr uint64_t NO_SYNC = ~uint64_t(0);

void write_sync(DemoRecorder& r, uint64_t pass) {
    script_writer_end_line(r.writer);
    std::fprintf(r.file, "%s%llu %016llx\n", REPLAY_SYNC_PREFIX, (unsigned long long)pass,
                 (unsigned long long)r.last_hash);
    r.synced_pass = pass;
}

// A game that crashes or is killed keeps what reached the disk.
void flush(DemoRecorder& r, double now_ms) {
    script_writer_end_line(r.writer);
    std::fflush(r.file);
    r.flushed_ms = now_ms;
}

}  // namespace

bool demo_record_start(DemoRecorder& recorder, const std::string& path, const char* game_version,
                       double now_ms, std::string& error) {
    recorder = DemoRecorder{};
    recorder.path = path;
    recorder.file = std::fopen(path.c_str(), "wb");
    if (!recorder.file) {
        error = path + ": cannot write the demo: " + std::strerror(errno);
        return false;
    }
    std::fprintf(recorder.file, "%s%d\n%s%s\n%s%d\n%s%d\n", REPLAY_DEMO_PREFIX, REPLAY_DEMO_VERSION,
                 REPLAY_GAME_PREFIX, game_version, REPLAY_RULES_PREFIX, GAME_RULES_VERSION, REPLAY_HASH_PREFIX,
                 WORLD_HASH_VERSION);
    std::fflush(recorder.file);
    script_writer_start(recorder.writer, recorder.file);
    recorder.synced_pass = NO_SYNC;
    recorder.flushed_ms = now_ms;
    trace_cues_attach();
    return true;
}

void demo_play_start() { trace_cues_attach(); }

void demo_pass_begins() { trace_cues_clear(); }

void demo_record_pass(DemoRecorder& r, uint32_t game_bits, bool quit, bool window_closed, double now_ms) {
    uint32_t keys = replay_keys_from_game_bits(game_bits);
    // The quit is pressed on the pass that took it, as the replay driver
    // presses it: a close before the pass, or Escape for a quit key.
    if (quit && !window_closed) keys |= REPLAY_ESCAPE;
    script_writer_pass(r.writer, keys, quit && window_closed);
    const uint64_t pass = r.passes++;
    // Kept for the last sync line too: a quit while paused is left out with
    // the pause, so the demo then ends at the pass before it.
    r.last_hash = world_hash();
    if (pass % DEMO_SYNC_EVERY == 0) write_sync(r, pass);
    if (now_ms - r.flushed_ms >= DEMO_FLUSH_MS || pass % DEMO_SYNC_EVERY == 0) flush(r, now_ms);
}

void demo_record_paused_pass(DemoRecorder& r, double now_ms) {
    if (now_ms - r.flushed_ms >= DEMO_FLUSH_MS) flush(r, now_ms);
}

bool demo_record_finish(DemoRecorder& r, std::string& error) {
    if (!r.file) return true;
    script_writer_end_line(r.writer);
    if (r.passes > 0 && r.synced_pass != r.passes - 1) write_sync(r, r.passes - 1);
    const bool ok = !std::ferror(r.file);
    const bool closed = std::fclose(r.file) == 0;
    r.file = nullptr;
    if (ok && closed) return true;
    error = r.path + ": cannot write the demo";
    return false;
}

bool demo_next_pass(const ReplayScript& script, DemoCursor& c, uint32_t& keys, bool& close) {
    while (c.line < script.lines.size() && c.in_line == script.lines[c.line].passes) {
        c.line += 1;
        c.in_line = 0;
    }
    if (c.line == script.lines.size()) return false;
    const ReplayLine& line = script.lines[c.line];
    keys = line.keys;
    close = line.close && c.in_line == 0;
    c.in_line += 1;
    c.pass += 1;
    return true;
}

bool demo_in_sync(const ReplayScript& script, DemoCursor& c) {
    if (c.next_sync == script.syncs.size() || script.syncs[c.next_sync].pass + 1 != c.pass) return true;
    const ReplaySync& sync = script.syncs[c.next_sync++];
    return world_hash(script.hash_version) == sync.hash;
}

bool demo_unreached_sync(const ReplayScript& script, const DemoCursor& c, uint64_t& pass) {
    if (c.next_sync == script.syncs.size()) return false;
    pass = script.syncs[c.next_sync].pass;
    return true;
}

std::string demo_out_of_sync_message(const std::string& path, uint64_t pass) {
    return path + ": out of sync at pass " + std::to_string(pass);
}

std::string demo_cut_off_message(const std::string& path, const ReplayScript& script) {
    return path + ":" + std::to_string(script.cut_off_line) +
           ": the demo stops in the middle of this line (cut off while it was written); played the " +
           std::to_string(script.total_passes) + " passes before it";
}
