// Recording demos. A demo is a replay script: keys per run of passes, with
// its format version first and sync lines between.
#include "replay/demo.h"

#include <cerrno>
#include <cstring>

#include "game/game.h"
#include "platform/platform.h"
#include "replay/replay_trace.h"
#include "session/text_lines.h"
#include "replay/world_state.h"

namespace {

constexpr uint64_t NO_SYNC = ~uint64_t(0);

void write_sync(DemoRecorder& r, uint64_t pass) {
    script_writer_end_line(r.writer);
    std::fprintf(r.file, "%s%llu %016llx\n", REPLAY_SYNC_PREFIX, (unsigned long long)pass,
                 (unsigned long long)r.last_hash);
    r.synced_pass = pass;
}

// Stops recording after a failed write: the file is closed and kept, as a
// crash would leave it, and the player told where it is.
bool stop_after_failed_write(DemoRecorder& r, std::string& error) {
    const int why = errno;
    std::fclose(r.file);
    r.file = nullptr;
    r.failed = true;
    error = r.path + ": cannot write the demo (" + std::strerror(why) +
            "); recording stopped, the game goes on; what was recorded is in " + r.part;
    return false;
}

// A game that crashes or is killed keeps what reached the disk.
bool flush(DemoRecorder& r, double now_ms, std::string& error) {
    script_writer_end_line(r.writer);
    r.flushed_ms = now_ms;
    if (std::fflush(r.file) != 0 || std::ferror(r.file)) return stop_after_failed_write(r, error);
    return true;
}

// Whether a recording may take the place of what stands at path: nothing, an
// empty file, or a demo of this game (its first line says so) that may be
// written. Anything else is the player's and stays as it is.
bool may_replace(const std::string& path, PlatformFileInfo& info, std::string& error) {
    info = platform_file_info(path);
    switch (info.kind) {
        case PLATFORM_FILE_MISSING: return true;
        case PLATFORM_FILE_FOLDER: error = path + ": is a folder; no demo recorded"; return false;
        case PLATFORM_FILE_OTHER:
            error = path + ": is not a regular file (a FIFO, a device); no demo recorded";
            return false;
        case PLATFORM_FILE_ERROR:
            error = path + ": cannot record a demo there: " + std::strerror(info.error);
            return false;
        case PLATFORM_FILE_REGULAR: break;
    }
    if (info.size == 0) return true;
    // Read as any demo is (never blocking, should a FIFO take the file's
    // place meanwhile); a file larger than any demo is none.
    std::string text;
    int why = 0;
    const PlatformReadResult read = platform_read_file(path, REPLAY_MAX_SCRIPT_BYTES, text, why);
    if (read == PLATFORM_READ_FAILED) {
        error = path + ": cannot read it to tell whether it is a demo (" + std::strerror(why) + "); no demo recorded";
        return false;
    }
    const size_t bom = text_start(text.data(), text.size());
    const size_t prefix = std::strlen(REPLAY_DEMO_PREFIX);
    if (read != PLATFORM_READ_OK || text.compare(bom, prefix, REPLAY_DEMO_PREFIX) != 0 ||
        text.size() <= bom + prefix || text[bom + prefix] < '0' || text[bom + prefix] > '9') {
        error = path + ": is not a demo of this game, so it is not recorded over; no demo recorded";
        return false;
    }
    if (info.read_only) {
        error = path + ": is read-only, so it is not recorded over; no demo recorded";
        return false;
    }
    return true;
}

}  // namespace

bool demo_record_start(DemoRecorder& recorder, const std::string& path, const char* game_version,
                       double now_ms, std::string& error) {
    recorder = DemoRecorder{};
    recorder.path = path;
    PlatformFileInfo info{};
    if (!may_replace(path, info, error)) return false;
    recorder.target = platform_resolve_links(path);
    recorder.part = recorder.target + DEMO_PART_SUFFIX;
    // Never opened over an existing file: a .part already there is another
    // copy of the game recording, or a recording cut off earlier.
    recorder.file = platform_create_new_file(recorder.part);
    if (!recorder.file) {
        const int why = errno;
        if (why == EEXIST)
            error = recorder.part + ": already there (another copy of the game is recording, or a recording was "
                                    "cut off: play it with --playdemo, then move or remove it); no demo recorded";
        else
            error = path + ": cannot write the demo: " + std::strerror(why) + " (at " + recorder.part + ")";
        return false;
    }
    std::fprintf(recorder.file, "%s%d\n%s%s\n%s%d\n%s%d\n", REPLAY_DEMO_PREFIX, REPLAY_DEMO_VERSION,
                 REPLAY_GAME_PREFIX, game_version, REPLAY_RULES_PREFIX, GAME_RULES_VERSION, REPLAY_HASH_PREFIX,
                 WORLD_HASH_VERSION);
    // Written through before the window opens, so a full disk is known now.
    if (std::fflush(recorder.file) != 0 || std::ferror(recorder.file)) {
        const int why = errno;
        error = path + ": cannot write the demo: " + std::strerror(why);
        demo_record_abandon(recorder);
        return false;
    }
    script_writer_start(recorder.writer, recorder.file);
    recorder.synced_pass = NO_SYNC;
    recorder.flushed_ms = now_ms;
    trace_cues_attach();
    return true;
}

void demo_record_abandon(DemoRecorder& r) {
    if (r.file) std::fclose(r.file);
    r.file = nullptr;
    if (!r.part.empty()) std::remove(r.part.c_str());
}

void demo_pass_begins() { trace_cues_clear(); }

bool demo_record_pass(DemoRecorder& r, uint32_t game_bits, bool quit, bool window_closed, double now_ms,
                      std::string& error) {
    if (!r.file) return true;
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
    if (now_ms - r.flushed_ms >= DEMO_FLUSH_MS || pass % DEMO_SYNC_EVERY == 0) return flush(r, now_ms, error);
    // A write the buffer passed on to the disk between flushes.
    if (std::ferror(r.file)) return stop_after_failed_write(r, error);
    return true;
}

bool demo_record_paused_pass(DemoRecorder& r, double now_ms, std::string& error) {
    if (r.file && now_ms - r.flushed_ms >= DEMO_FLUSH_MS) return flush(r, now_ms, error);
    return true;
}

bool demo_record_finish(DemoRecorder& r, std::string& error) {
    if (r.failed) return false;
    if (!r.file) return true;
    script_writer_end_line(r.writer);
    if (r.passes > 0 && r.synced_pass != r.passes - 1) write_sync(r, r.passes - 1);
    const bool flushed = std::fflush(r.file) == 0 && !std::ferror(r.file);
    int write_error = errno;
    const bool closed = std::fclose(r.file) == 0;
    if (flushed) write_error = errno;
    r.file = nullptr;
    if (!flushed || !closed) {
        error = r.path + ": cannot write the demo (" + std::strerror(write_error) +
                "); the file is left as it was, what was recorded is in " + r.part;
        return false;
    }
    // Whatever came to stand at the path during play is held to the same rule.
    PlatformFileInfo info{};
    if (!may_replace(r.target, info, error)) {
        error += " (the recording is in " + r.part + ")";
        return false;
    }
    if (info.kind == PLATFORM_FILE_REGULAR) platform_set_mode(r.part, info.mode);
    if (!platform_replace_file(r.part, r.target)) {
        const int why = errno;
        error = r.path + ": cannot put the recording in its place: " + std::strerror(why) + "; it is in " + r.part;
        return false;
    }
    return true;
}
