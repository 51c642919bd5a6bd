#include "SimScript.h"

#include <cctype>
#include <charconv>

#include "SimTime.h"
#include "core/support/DefaultZone.h"
#include "core/support/Json.h"

namespace pelliwig::sim {

namespace {

// A "#" outside quotes, at the start or after blank space, begins a comment;
// "C#" stays a name.
std::string stripComment(const std::string& line) {
    bool quoted = false;
    for (std::size_t i = 0; i < line.size(); ++i) {
        const char c = line[i];
        if (c == '\\' && quoted) {
            ++i;
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == '#' && !quoted &&
                   (i == 0 || std::isspace(static_cast<unsigned char>(line[i - 1])))) {
            return line.substr(0, i);
        }
    }
    return line;
}

std::string trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return {};
    const auto last = s.find_last_not_of(" \t\r");
    return std::string(s.substr(first, last - first + 1));
}

// Reads one line word by word.
class Cursor {
public:
    Cursor(std::string text, int line) : text_(std::move(text)), line_(line) {}

    bool atEnd() {
        skipBlanks();
        return pos_ >= text_.size();
    }

    std::string word(const char* what) {
        skipBlanks();
        if (pos_ >= text_.size()) fail(std::string("missing ") + what);
        const auto end = text_.find_first_of(" \t", pos_);
        std::string w =
            text_.substr(pos_, end == std::string::npos ? std::string::npos : end - pos_);
        pos_ = end == std::string::npos ? text_.size() : end;
        return w;
    }

    // The rest of the line, trimmed.
    std::string rest(const char* what) {
        std::string r = trim(std::string_view(text_).substr(std::min(pos_, text_.size())));
        if (r.empty()) fail(std::string("missing ") + what);
        pos_ = text_.size();
        return r;
    }

    // A double-quoted text with \" and \\ escapes.
    std::string quoted(const char* what) {
        skipBlanks();
        if (pos_ >= text_.size() || text_[pos_] != '"')
            fail(std::string("expected a quoted ") + what);
        std::string out;
        for (++pos_; pos_ < text_.size(); ++pos_) {
            char c = text_[pos_];
            if (c == '"') {
                ++pos_;
                return out;
            }
            if (c == '\\' && pos_ + 1 < text_.size()) c = text_[++pos_];
            out.push_back(c);
        }
        fail(std::string("unterminated ") + what);
    }

    void end() {
        if (!atEnd()) fail("unexpected \"" + trim(std::string_view(text_).substr(pos_)) + "\"");
    }

    [[noreturn]] void fail(const std::string& message) const { throw ScriptError(line_, message); }

private:
    void skipBlanks() {
        while (pos_ < text_.size() && (text_[pos_] == ' ' || text_[pos_] == '\t')) ++pos_;
    }

    std::string text_;
    std::size_t pos_ = 0;
    int line_;
};

std::optional<int> number(std::string_view s) {
    int value = 0;
    const auto [end, error] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (error != std::errc() || end != s.data() + s.size()) return std::nullopt;
    return value;
}

std::optional<double> decimal(const std::string& s) {
    try {
        std::size_t used = 0;
        const double value = std::stod(s, &used);
        if (used != s.size()) return std::nullopt;
        return value;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

// "YYYY-MM-DD" into the wall time's date; false when malformed.
bool readDate(std::string_view s, WallTime& wall) {
    if (s.size() != 10 || s[4] != '-' || s[7] != '-') return false;
    const auto y = number(s.substr(0, 4)), m = number(s.substr(5, 2)), d = number(s.substr(8, 2));
    if (!y || !m || !d) return false;
    wall.year = *y, wall.month = *m, wall.day = *d;
    return true;
}

// "HH:MM" or "HH:MM:SS".
bool readTime(std::string_view s, WallTime& wall) {
    if ((s.size() != 5 && s.size() != 8) || s[2] != ':' || (s.size() == 8 && s[5] != ':')) {
        return false;
    }
    const auto h = number(s.substr(0, 2)), m = number(s.substr(3, 2));
    const auto sec = s.size() == 8 ? number(s.substr(6, 2)) : std::optional(0);
    if (!h || !m || !sec) return false;
    wall.hour = *h, wall.minute = *m, wall.second = *sec;
    return true;
}

bool onOff(Cursor& in, const char* on, const char* off) {
    const std::string w = in.word(on);
    if (w == on) return true;
    if (w == off) return false;
    in.fail(std::string("expected ") + on + " or " + off + ", not \"" + w + "\"");
}

void parseEvent(Cursor& in, Command& c) {
    c.text = in.word("event identifier");
    std::string when = in.word("event time");
    WallTime wall;
    if (when == "allday") {
        c.allDay = true;
        when = in.word("event date");
        if (!readDate(when, wall)) in.fail("bad event date \"" + when + "\"");
    } else {
        const auto t = when.find('T');
        if (t == std::string::npos || !readDate(when.substr(0, t), wall) ||
            !readTime(when.substr(t + 1), wall)) {
            in.fail("bad event time \"" + when + "\" (YYYY-MM-DDTHH:MM)");
        }
    }
    const auto start = instantOf(wall);
    if (!start) in.fail("no such time \"" + when + "\"");
    c.start = *start;
    c.title = in.quoted("event title");
    if (!c.allDay && !in.atEnd()) {
        if (in.word("daily") != "daily") in.fail("expected daily");
        c.flag = true;
    }
}

void parseHover(Cursor& in, Command& c) {
    const std::string what = in.word("enter, move or leave");
    if (what == "enter") {
        c.kind = Command::Kind::hoverEnter;
    } else if (what == "leave") {
        c.kind = Command::Kind::hoverLeave;
    } else if (what == "move") {
        c.kind = Command::Kind::hoverMove;
        const std::string dx = in.word("offset");
        const auto value = decimal(dx);
        if (!value) in.fail("bad offset \"" + dx + "\"");
        c.number = *value;
    } else {
        in.fail("expected hover enter, move or leave");
    }
}

void parsePause(Cursor& in, Command& c) {
    const std::string what = in.word("minutes, tomorrow or off");
    if (what == "tomorrow" || what == "off") {
        c.text = what;
        return;
    }
    const auto minutes = number(what);
    if (!minutes || *minutes <= 0) in.fail("bad pause \"" + what + "\" (minutes, tomorrow or off)");
    c.number = *minutes;
}

void parseSet(Cursor& in, Command& c, const SettingValues& settings) {
    c.text = in.word("setting key");
    if (!settings.known(*c.text)) in.fail("unknown setting \"" + *c.text + "\"");
    c.json = in.rest("setting value");
    const auto value = json::parse(c.json);
    if (!value) in.fail("the value of " + *c.text + " is not JSON: " + c.json);
    if (!settings.fits(*c.text, *value)) {
        in.fail("the value of " + *c.text + " is not one it can take: " + c.json);
    }
}

void parseArguments(Cursor& in, Command& c, const std::string& name,
                    const SettingValues& settings) {
    using K = Command::Kind;
    if (name == "active") {
        c.kind = K::active;
    } else if (name == "idle") {
        c.kind = K::idle;
    } else if (name == "app") {
        c.kind = K::app;
        const std::string app = in.rest("application name");
        if (app != "-") c.text = app;
    } else if (name == "camera" || name == "mic") {
        c.kind = name == "camera" ? K::camera : K::mic;
        c.flag = onOff(in, "on", "off");
    } else if (name == "power") {
        c.kind = K::power;
        const std::string percent = in.word("percent");
        const auto value = number(percent);
        if (!value || *value < 0 || *value > 100) in.fail("bad percent \"" + percent + "\"");
        c.number = *value;
        c.flag = onOff(in, "ac", "battery");
    } else if (name == "answer") {
        c.kind = K::answer;
        const std::string tone = in.word("tone");
        const auto value = fromRawValue<Answer::Tone>(tone);
        if (!value) in.fail("unknown tone \"" + tone + "\"");
        c.tone = *value;
    } else if (name == "close") {
        c.kind = K::close;
    } else if (name == "hover") {
        parseHover(in, c);
    } else if (name == "wake") {
        c.kind = K::wake;
    } else if (name == "focus") {
        const std::string minutes = in.word("minutes or cancel");
        c.kind = minutes == "cancel" ? K::focusCancel : K::focus;
        if (c.kind == K::focus) {
            const auto value = number(minutes);
            if (!value || *value <= 0) in.fail("bad focus minutes \"" + minutes + "\"");
            c.number = *value;
        }
    } else if (name == "preview") {
        c.kind = K::preview;
        if (!in.atEnd()) {
            const std::string kind = in.word("kind");
            c.previewKind = fromRawValue<ReminderKind>(kind);
            if (!c.previewKind) in.fail("unknown kind \"" + kind + "\"");
        }
    } else if (name == "set") {
        c.kind = K::set;
        parseSet(in, c, settings);
    } else if (name == "event") {
        c.kind = K::event;
        parseEvent(in, c);
    } else if (name == "calendar") {
        c.kind = K::calendar;
        c.flag = onOff(in, "grant", "deny");
    } else if (name == "restart") {
        c.kind = K::restart;
    } else if (name == "zone") {
        c.kind = K::zone;
        c.text = in.word("time zone");
        // The lines after it are in its local time.
        if (!DefaultZone::use(*c.text)) in.fail("unknown time zone \"" + *c.text + "\"");
    } else if (name == "pause") {
        c.kind = K::pause;
        parsePause(in, c);
    } else if (name == "dnd" || name == "fullscreen") {
        c.kind = name == "dnd" ? K::dnd : K::fullscreen;
        c.flag = onOff(in, "on", "off");
    } else {
        in.fail("unknown command \"" + name + "\"");
    }
    in.end();
}

}  // namespace

std::optional<Instant> parseWallTime(const std::string& date, const std::string& time) {
    WallTime wall;
    if (!readDate(date, wall) || !readTime(time, wall)) return std::nullopt;
    return instantOf(wall);
}

std::vector<Command> parseScript(std::istream& in, const SettingValues& settings) {
    const ZoneScope keep;
    std::vector<Command> commands;
    std::string raw;
    for (int line = 1; std::getline(in, raw); ++line) {
        Cursor cursor(stripComment(raw), line);
        if (cursor.atEnd()) continue;
        Command c;
        c.line = line;
        const std::string date = cursor.word("date");
        const std::string time = cursor.atEnd() ? std::string() : cursor.word("time");
        const auto at = parseWallTime(date, time);
        if (!at) cursor.fail("bad time \"" + date + " " + time + "\" (YYYY-MM-DD HH:MM[:SS])");
        if (!commands.empty() && *at < commands.back().at) {
            cursor.fail("time goes backwards (before line " + std::to_string(commands.back().line) +
                        ")");
        }
        c.at = *at;
        parseArguments(cursor, c, cursor.word("command"), settings);
        commands.push_back(std::move(c));
    }
    return commands;
}

}  // namespace pelliwig::sim
