// Builds the replay trace's JSON lines from the fields of the world state.
#include "replay/replay_trace.h"

#include <charconv>

#include "audio/sounds.h"
#include "replay/world_state.h"

TraceCues trace_cues;

namespace {

void record_cue(int voice, int id) {
    if (trace_cues.count >= TRACE_MAX_CUES) {
        trace_cues.dropped += 1;
        return;
    }
    trace_cues.voice[trace_cues.count] = voice;
    trace_cues.id[trace_cues.count] = id;
    trace_cues.count += 1;
}

// Appended piece by piece: no temporaries, one buffer that grows once.
template <typename Number>
void append_number(std::string& out, Number value) {
    char digits[24];
    const std::to_chars_result r = std::to_chars(digits, digits + sizeof digits, value);
    out.append(digits, r.ptr);
}

void append_key(std::string& out, const char* key) {
    out += ",\"";
    out += key;
    out += "\":";
}

// [[a,b,..],[..]] of the items the field does not leave out.
void append_list(std::string& out, const TraceField& f) {
    out += '[';
    bool first = true;
    const int length = f.list_length();
    for (int i = 0; i < length; ++i) {
        int64_t values[TRACE_TUPLE_MAX];
        const int n = f.list_item(i, values);
        if (n == 0) continue;
        if (!first) out += ',';
        first = false;
        out += '[';
        for (int k = 0; k < n; ++k) {
            if (k) out += ',';
            append_number(out, values[k]);
        }
        out += ']';
    }
    out += ']';
}

}  // namespace

void trace_cues_attach() { sound_set_cue_hook(record_cue); }

void trace_cues_clear() {
    trace_cues.count = 0;
    trace_cues.dropped = 0;
}

std::string trace_line(uint64_t pass, int state) {
    std::string out;
    out.reserve(512);
    out += "{\"pass\":";
    append_number(out, pass);
    append_key(out, "state");
    append_number(out, state);
    for (int i = 0; i < WORLD_TRACE_FIELD_COUNT; ++i) {
        const TraceField& f = WORLD_TRACE_FIELDS[i];
        append_key(out, f.name);
        if (f.number) append_number(out, f.number());
        else append_list(out, f);
    }
    out += "}\n";
    return out;
}
