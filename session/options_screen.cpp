// The options screen: its items and what each step does to them, the key
// binding with its moves and refusals, and the panel drawn in the game's own
// font over whatever the screen shows.
#include "session/options_screen.h"

#include <cctype>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "audio/mixer.h"
#include "input/actions.h"
#include "video/draw_queue.h"
#include "video/presenter.h"
#include "video/sprites.h"
#include "video/text.h"
#include "video/window.h"

OptionsScreen options_screen;

namespace {

// The actions a player binds, in the table's order: one item each.
constexpr int count_controls() {
    int n = 0;
    for (const InputActionRow& a : INPUT_ACTIONS) n += a.setting ? 1 : 0;
    return n;
}
constexpr int CONTROLS = count_controls();
constexpr int RESET_ITEM = OPTIONS_FIRST_CONTROL + CONTROLS;
constexpr int BACK_ITEM = RESET_ITEM + 1;
constexpr int ITEM_COUNT = BACK_ITEM + 1;

InputAction control_action(int item) {
    int n = OPTIONS_FIRST_CONTROL;
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (!a.setting) continue;
        if (n++ == item) return a.action;
    }
    return ACTION_COUNT;
}

// The window's sizes the screen steps through, as the scale setting writes
// them: fitted to the display, the screen's own size, then factors.
constexpr double WINDOW_STEPS[] = {0.25, 0.5, 0.75, 1.5, 2.0};
constexpr int WINDOW_CHOICES = 2 + int(sizeof WINDOW_STEPS / sizeof WINDOW_STEPS[0]);

void (*saver)(const SettingsChanges& changes) = nullptr;

void say(const std::string& text) { std::snprintf(options_screen.message, OPTIONS_MESSAGE_MAX, "%s", text.c_str()); }

void save(const SettingsChanges& changes) {
    if (saver && !changes.empty()) saver(changes);
}

std::string upper(std::string text) {
    for (char& c : text) c = char(std::toupper(static_cast<unsigned char>(c)));
    return text;
}

// "FIRE" for key.fire.
std::string action_label(InputAction action) { return upper(INPUT_ACTIONS[action].setting + 4); }

bool key_bound(InputAction action, int sym) {
    const KeyBinding& b = input_bindings.actions[action];
    for (int i = 0; i < b.count && i < BINDING_MAX_KEYS; ++i) {
        if (b.keys[i] == sym) return true;
    }
    return false;
}

// The joystick buttons the player binds, for the actions that have them.
uint32_t* pad_list(InputAction action) {
    switch (action) {
        case ACTION_FIRE: return &input_bindings.pad_fire;
        case ACTION_PAUSE: return &input_bindings.pad_pause;
        case ACTION_OPTIONS: return &input_bindings.pad_options;
        default: return nullptr;
    }
}

std::string pad_setting(InputAction action) { return std::string("pad.") + (INPUT_ACTIONS[action].setting + 4); }

void add_keys_line(SettingsChanges& changes, InputAction action) {
    changes.emplace_back(INPUT_ACTIONS[action].setting, settings_key_list(input_bindings.actions[action]));
}

int window_choice() {
    switch (options_screen.scale_mode) {
        case SETTINGS_SCALE_UNSET:
        case SETTINGS_SCALE_AUTO: return 0;
        case SETTINGS_SCALE_WINDOW: return 1;
        case SETTINGS_SCALE_FACTOR: break;
    }
    for (int i = 0; i < WINDOW_CHOICES - 2; ++i) {
        if (std::fabs(WINDOW_STEPS[i] - options_screen.scale) < 1e-9) return i + 2;
    }
    return -1;  // a factor from the command line or the file that is no step
}

std::string scale_words(double scale) {
    char text[16];
    std::snprintf(text, sizeof text, "%g", scale);
    return text;
}

bool showing_fullscreen() { return presenter.own ? game_window.fullscreen : options_screen.fullscreen; }

void change_fullscreen() {
    const bool want = !showing_fullscreen();
    if (presenter.own && game_window.fullscreen != want) window_toggle_fullscreen();
    options_screen.fullscreen = presenter.own ? game_window.fullscreen : want;
    save({{"fullscreen", options_screen.fullscreen ? "yes" : "no"}});
}

void change_window(int step) {
    const int now = window_choice();
    int next = now < 0 ? (step > 0 ? 0 : WINDOW_CHOICES - 1) : (now + step + WINDOW_CHOICES) % WINDOW_CHOICES;
    std::string value;
    if (next == 0) {
        options_screen.scale_mode = SETTINGS_SCALE_AUTO;
        value = "auto";
    } else if (next == 1) {
        options_screen.scale_mode = SETTINGS_SCALE_WINDOW;
        value = "window";
    } else {
        options_screen.scale_mode = SETTINGS_SCALE_FACTOR;
        options_screen.scale = WINDOW_STEPS[next - 2];
        value = scale_words(options_screen.scale);
    }
    const bool never_scale = options_screen.scale_mode == SETTINGS_SCALE_WINDOW;
    window_rescale(never_scale, options_screen.scale_mode == SETTINGS_SCALE_FACTOR ? options_screen.scale : 0);
    SettingsChanges changes{{"scale", value}};
    // A size remembered in the file would win over the scale at the next
    // start: it becomes the new window's size.
    if (const std::string size = window_size_to_remember(); !size.empty()) changes.emplace_back("window_size", size);
    save(changes);
}

void change_value(int item, int step) {
    switch (item) {
        case OPTIONS_FULLSCREEN: change_fullscreen(); break;
        case OPTIONS_WINDOW: change_window(step); break;
        case OPTIONS_PICTURE:
            options_screen.filter = options_screen.filter == FILTER_SMOOTH ? FILTER_SHARP : FILTER_SMOOTH;
            window_set_filter(options_screen.filter);
            save({{"filter", options_screen.filter == FILTER_SHARP ? "sharp" : "smooth"}});
            break;
        case OPTIONS_VSYNC:
            options_screen.vsync = options_screen.vsync == 1 ? 0 : 1;
            say("VSYNC CHANGES AT THE NEXT START");
            save({{"vsync", options_screen.vsync ? "yes" : "no"}});
            break;
        case OPTIONS_SOUND:
            audio_set_muted(!mixer.muted);
            save({{"mute", mixer.muted ? "yes" : "no"}});
            break;
        case OPTIONS_VOLUME: {
            int v = audio_volume() + step;
            if (v < 0 || v > AUDIO_VOLUME_MAX) break;
            audio_set_volume(v);
            save({{"volume", std::to_string(audio_volume())}});
            break;
        }
        default: break;
    }
}

void reset_controls() {
    input_bindings_default(input_bindings);
    SettingsChanges changes;
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (a.setting) add_keys_line(changes, a.action);
    }
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (a.setting && pad_list(a.action)) changes.emplace_back(pad_setting(a.action), settings_button_list(*pad_list(a.action)));
    }
    say("CONTROLS RESET");
    save(changes);
}

// The next key pressed replaces the keys of the waiting item's action.
void bind_key(InputAction action, int sym, bool alt) {
    options_screen.waiting = false;
    const std::string name = upper(input_key_name(sym));
    if (sym == SDLK_ESCAPE) {
        say("KEPT AS IT WAS");
        return;
    }
    if (sym == SDLK_RETURN && alt) {
        say("ALT+ENTER IS KEPT FOR FULLSCREEN");
        return;
    }
    const int kept = input_kept_key_action(sym);
    if (kept >= 0 && kept != action) {
        say(name + " IS KEPT FOR " + action_label(InputAction(kept)));
        return;
    }
    if (name == "?") {
        say("THAT KEY HAS NO NAME");
        return;
    }
    // The key leaves every other action that has it; never the last key to
    // quit or to open the options.
    int moved_from = -1;
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (!a.setting || a.action == action || !key_bound(a.action, sym)) continue;
        if ((a.action == ACTION_QUIT || a.action == ACTION_OPTIONS) && input_bindings.actions[a.action].count <= 1) {
            say(name + (a.action == ACTION_QUIT ? " IS THE ONLY KEY TO QUIT" : " IS THE ONLY KEY FOR OPTIONS"));
            return;
        }
        if (moved_from < 0) moved_from = a.action;
    }
    SettingsChanges changes;
    input_bindings.actions[action] = KeyBinding{1, {sym}};
    add_keys_line(changes, action);
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (!a.setting || a.action == action || !key_bound(a.action, sym)) continue;
        KeyBinding& b = input_bindings.actions[a.action];
        KeyBinding left{};
        for (int i = 0; i < b.count && i < BINDING_MAX_KEYS; ++i) {
            if (b.keys[i] != sym) left.keys[left.count++] = b.keys[i];
        }
        b = left;
        add_keys_line(changes, a.action);
    }
    if (moved_from >= 0) say(name + " MOVED FROM " + action_label(InputAction(moved_from)));
    else say(action_label(action) + " IS " + name);
    save(changes);
}

// The next joystick button replaces the action's buttons, for the actions
// that have buttons to bind.
void bind_button(InputAction action, int button) {
    options_screen.waiting = false;
    uint32_t* list = pad_list(action);
    if (!list) {
        say("NO PAD BUTTON FOR " + action_label(action));
        return;
    }
    const uint32_t mask = 1u << button;
    SettingsChanges changes;
    *list = mask;
    changes.emplace_back(pad_setting(action), settings_button_list(*list));
    int moved_from = -1;
    for (const InputActionRow& a : INPUT_ACTIONS) {
        uint32_t* other = a.setting ? pad_list(a.action) : nullptr;
        if (!other || a.action == action || !(*other & mask)) continue;
        *other &= ~mask;
        changes.emplace_back(pad_setting(a.action), settings_button_list(*other));
        if (moved_from < 0) moved_from = a.action;
    }
    const std::string name = "PAD " + std::to_string(button);
    if (moved_from >= 0) say(name + " MOVED FROM " + action_label(InputAction(moved_from)));
    else say(action_label(action) + " IS " + name);
    save(changes);
}

bool menu_event(const InputMenuEvent& event) {
    switch (event.kind) {
        case MENU_KEY: return options_screen_key(event.code, event.alt);
        case MENU_PAD_BUTTON: options_screen_pad_button(event.code); return true;
        case MENU_STICK:
            if (options_screen.waiting) return true;
            if (event.code == ACTION_UP) options_screen_move(OptionsMove::UP);
            else if (event.code == ACTION_DOWN) options_screen_move(OptionsMove::DOWN);
            else if (event.code == ACTION_LEFT) options_screen_move(OptionsMove::LEFT);
            else if (event.code == ACTION_RIGHT) options_screen_move(OptionsMove::RIGHT);
            return true;
    }
    return true;
}

// The panel: large gray letters of the game's font on black, in the middle
// of the play field, legible when the window is fitted to a small display.
constexpr int ZOOM = 4;  // screen pixels per glyph pixel
constexpr int COLUMNS = 46;
constexpr int LINE_H = GLYPH_H * ZOOM + 8;
constexpr int BORDER = 8 * ZOOM;
constexpr int HEAD_LINES = 2, FOOT_LINES = 4;
constexpr int LINES = HEAD_LINES + ITEM_COUNT + 1 + FOOT_LINES;  // and the controls' heading
constexpr int PANEL_W = COLUMNS * GLYPH_W * ZOOM + 2 * BORDER;
constexpr int PANEL_H = LINES * LINE_H - (LINE_H - GLYPH_H * ZOOM) + 2 * BORDER;
constexpr int PANEL_X = (PANEL_SEPARATOR_X - PANEL_W) / 2, PANEL_Y = (SCREEN_HEIGHT - PANEL_H) / 2;
constexpr uint8_t GRAY = 170, BRIGHT = 255;
static_assert(PANEL_X >= 0 && PANEL_Y >= 0, "the panel fits the play field");

uint8_t panel[PANEL_W * PANEL_H];
uint8_t covered[PANEL_W * PANEL_H];
std::string drawn[LINES];

void put_line(int line, const std::string& text, uint8_t gray) {
    const int top = BORDER + line * LINE_H;
    for (int i = 0; i < COLUMNS && i < int(text.size()); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[size_t(i)]);
        const uint8_t* glyph = c < 128 ? font_table[c] : nullptr;
        if (!glyph) continue;
        const int left = BORDER + i * GLYPH_W * ZOOM;
        for (int y = 0; y < GLYPH_H * ZOOM; ++y) {
            uint8_t* row = panel + size_t(top + y) * PANEL_W + left;
            for (int x = 0; x < GLYPH_W * ZOOM; ++x)
                row[x] = uint8_t(glyph[(y / ZOOM) * GLYPH_W + x / ZOOM] * gray / 255);
        }
    }
}

// The controls have a heading of their own, so the fullscreen key's line is
// not taken for the fullscreen setting.
int item_line(int item) { return HEAD_LINES + item + (item >= OPTIONS_FIRST_CONTROL ? 1 : 0); }

void panel_lines(std::string (&lines)[LINES]) {
    lines[0] = "OPTIONS";
    lines[1] = "";
    for (int i = 0; i < ITEM_COUNT; ++i)
        lines[item_line(i)] = (i == options_screen.item ? "> " : "  ") + options_item_text(i);
    lines[item_line(OPTIONS_FIRST_CONTROL) - 1] = "CONTROLS: KEYS AND PAD BUTTONS";
    const int foot = HEAD_LINES + ITEM_COUNT + 1;
    lines[foot] = "";
    lines[foot + 1] = options_screen.message;
    lines[foot + 2] = "UP/DOWN CHOOSE  LEFT/RIGHT CHANGE  FIRE SETS";
    const KeyBinding& close = input_bindings.actions[ACTION_OPTIONS];
    lines[foot + 3] = (close.count > 0 ? upper(input_key_name(close.keys[0])) + " OR " : std::string()) + "ESCAPE CLOSES";
}

void draw_panel() {
    std::string lines[LINES];
    panel_lines(lines);
    std::memset(panel, 0, sizeof panel);
    for (int i = 0; i < LINES; ++i) {
        const bool bright = i == 0 || i == item_line(options_screen.item);
        put_line(i, lines[i], bright ? BRIGHT : GRAY);
        drawn[i] = lines[i];
    }
    draw_sprite(PANEL_X, PANEL_Y, PANEL_W, PANEL_H, panel);
}

}  // namespace

int options_item_count() { return ITEM_COUNT; }

int options_control_item(InputAction action) {
    for (int item = OPTIONS_FIRST_CONTROL; item < RESET_ITEM; ++item) {
        if (control_action(item) == action) return item;
    }
    return -1;
}

int options_reset_item() { return RESET_ITEM; }
int options_back_item() { return BACK_ITEM; }

void options_screen_start(const Settings& in_force) {
    options_screen.available = true;
    options_screen.fullscreen = in_force.fullscreen;
    options_screen.scale_mode = in_force.scale_mode;
    options_screen.scale = in_force.scale;
    options_screen.filter = in_force.filter;
    options_screen.vsync = in_force.vsync;
}

void options_screen_set_saver(void (*save_changes)(const SettingsChanges& changes)) { saver = save_changes; }

void options_screen_open() {
    if (!options_screen.available || options_screen.open) return;
    options_screen.open = true;
    options_screen.item = 0;
    options_screen.waiting = false;
    options_screen.message[0] = '\0';
    input_release_all();
    input_set_menu(menu_event);
    // What the panel covers is read once everything before it is painted.
    video_flush();
    for (int y = 0; y < PANEL_H; ++y) {
        for (int x = 0; x < PANEL_W; ++x) covered[y * PANEL_W + x] = uint8_t(video_pixel(PANEL_X + x, PANEL_Y + y));
    }
    draw_panel();
}

void options_screen_close() {
    if (!options_screen.open) return;
    options_screen_forget();
    draw_sprite(PANEL_X, PANEL_Y, PANEL_W, PANEL_H, covered);
}

void options_screen_forget() {
    options_screen.open = false;
    options_screen.waiting = false;
    input_set_menu(nullptr);
    // Nothing pressed on the screen is still held in the game.
    input_release_all();
}

void options_screen_refresh() {
    if (!options_screen.open) return;
    std::string lines[LINES];
    panel_lines(lines);
    for (int i = 0; i < LINES; ++i) {
        if (lines[i] != drawn[i]) {
            draw_panel();
            return;
        }
    }
}

void options_screen_move(OptionsMove move) {
    if (!options_screen.open) return;
    const int item = options_screen.item;
    switch (move) {
        case OptionsMove::UP:
        case OptionsMove::DOWN:
            options_screen.item = (item + (move == OptionsMove::UP ? ITEM_COUNT - 1 : 1)) % ITEM_COUNT;
            options_screen.message[0] = '\0';
            break;
        case OptionsMove::LEFT: change_value(item, -1); break;
        case OptionsMove::RIGHT: change_value(item, 1); break;
        case OptionsMove::FIRE:
            if (item == RESET_ITEM) {
                reset_controls();
            } else if (item == BACK_ITEM) {
                options_screen_close();
                return;
            } else if (item >= OPTIONS_FIRST_CONTROL) {
                options_screen.waiting = true;
                say("ESCAPE CANCELS");
            } else {
                change_value(item, 1);
            }
            break;
        case OptionsMove::CLOSE: options_screen_close(); return;
    }
    options_screen_refresh();
}

bool options_screen_key(int sym, bool alt) {
    if (!options_screen.open) return false;
    if (options_screen.waiting) {
        bind_key(control_action(options_screen.item), sym, alt);
        options_screen_refresh();
        return true;
    }
    if (sym == SDLK_RETURN && alt) return false;
    if (sym == SDLK_ESCAPE || key_bound(ACTION_OPTIONS, sym)) options_screen_move(OptionsMove::CLOSE);
    else if (sym == SDLK_UP || key_bound(ACTION_UP, sym)) options_screen_move(OptionsMove::UP);
    else if (sym == SDLK_DOWN || key_bound(ACTION_DOWN, sym)) options_screen_move(OptionsMove::DOWN);
    else if (sym == SDLK_LEFT || key_bound(ACTION_LEFT, sym)) options_screen_move(OptionsMove::LEFT);
    else if (sym == SDLK_RIGHT || key_bound(ACTION_RIGHT, sym)) options_screen_move(OptionsMove::RIGHT);
    // Enter and space always act, as the arrows always move: a player who
    // bound fire to an arrow can still reach RESET CONTROLS.
    else if (sym == SDLK_RETURN || sym == SDLK_KP_ENTER || sym == SDLK_SPACE || key_bound(ACTION_FIRE, sym))
        options_screen_move(OptionsMove::FIRE);
    // The fullscreen and screenshot keys work here as everywhere.
    else if (input_kept_key_action(sym) >= 0 || key_bound(ACTION_FULLSCREEN, sym) || key_bound(ACTION_SCREENSHOT, sym))
        return false;
    return true;
}

void options_screen_pad_button(int button) {
    if (!options_screen.open || button < 0 || button >= JOYSTICK_BUTTONS) return;
    if (options_screen.waiting) {
        bind_button(control_action(options_screen.item), button);
        options_screen_refresh();
        return;
    }
    const uint32_t mask = 1u << button;
    if (input_bindings.pad_options & mask) {
        options_screen_move(OptionsMove::CLOSE);
        return;
    }
    uint32_t held = 0;
    for (const InputActionRow& a : INPUT_ACTIONS) {
        if (a.pad_buttons & mask) held |= a.held;
    }
    if (input_bindings.pad_fire & mask) held |= INPUT_A;
    if (held & INPUT_UP) options_screen_move(OptionsMove::UP);
    else if (held & INPUT_DOWN) options_screen_move(OptionsMove::DOWN);
    else if (held & INPUT_LEFT) options_screen_move(OptionsMove::LEFT);
    else if (held & INPUT_RIGHT) options_screen_move(OptionsMove::RIGHT);
    else if (held & INPUT_A) options_screen_move(OptionsMove::FIRE);
}

std::string options_item_text(int item) {
    auto line = [](const char* name, const std::string& value) {
        std::string text = name;
        text.resize(12, ' ');
        return text + value;
    };
    switch (item) {
        case OPTIONS_FULLSCREEN: return line("FULLSCREEN", showing_fullscreen() ? "ON" : "OFF");
        case OPTIONS_WINDOW: {
            const int choice = window_choice();
            if (choice == 0) return line("WINDOW", "FIT");
            if (choice == 1) return line("WINDOW", "1:1");
            return line("WINDOW", scale_words(options_screen.scale));
        }
        case OPTIONS_PICTURE: return line("PICTURE", options_screen.filter == FILTER_SHARP ? "SHARP" : "SMOOTH");
        case OPTIONS_VSYNC: return line("VSYNC", options_screen.vsync == 1 ? "ON" : "OFF");
        case OPTIONS_SOUND: return line("SOUND", mixer.muted ? "OFF" : "ON");
        case OPTIONS_VOLUME: return line("VOLUME", std::to_string(audio_volume()));
        default: break;
    }
    if (item == RESET_ITEM) return "RESET CONTROLS";
    if (item == BACK_ITEM) return "BACK";
    const InputAction action = control_action(item);
    if (action == ACTION_COUNT) return std::string();
    if (options_screen.waiting && item == options_screen.item) return line(action_label(action).c_str(), "PRESS A KEY");
    std::string value = upper(settings_key_list(input_bindings.actions[action]));
    uint32_t buttons = INPUT_ACTIONS[action].pad_buttons;
    if (const uint32_t* pads = pad_list(action)) buttons |= *pads;
    if (buttons) value += (value.empty() ? "PAD " : "  PAD ") + settings_button_list(buttons);
    if (value.empty()) value = "NONE";
    return line(action_label(action).c_str(), value);
}
