#include "SoakRun.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <functional>
#include <optional>
#include <regex>
#include <system_error>
#include <utility>

#include "SimPorts.h"
#include "core/content/LineBank.h"
#include "core/engine/FiredLog.h"
#include "core/engine/Memory.h"
#include "core/engine/Pause.h"
#include "core/engine/ReminderEngine.h"
#include "core/notch/NotchController.h"
#include "core/settings/Prefs.h"
#include "core/settings/SqliteStore.h"
#include "core/settings/UserRecords.h"
#include "core/support/Clock.h"
#include "core/support/DefaultZone.h"
#include "core/support/Enum.h"
#include "core/support/Json.h"
#include "core/support/Uuid.h"
#include "fakes/FakeSensors.h"
#include "fakes/FixedScreens.h"
#include "fakes/SeededRandom.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig::soak {

namespace fs = std::filesystem;

namespace {

// Monday 2026-01-05 00:00 UTC.
constexpr Instant kStart = 1767571200;
constexpr double kDay = 86400;
constexpr double kMinute = 60;
// A call is the engine's to know once a tick has seen it.
constexpr double kCallNoticed = ReminderEngine::kTickSeconds + 1;

const std::array<const char*, 9> kApps{"Firefox",   "Code",     "Slack",
                                       "Instagram", "Terminal", "Spotify",
                                       "YouTube",   "Zoom",     "LibreOffice Writer"};
const std::array<const char*, 6> kZones{"Europe/Berlin",       "Asia/Kolkata",
                                        "America/New_York",    "Pacific/Auckland",
                                        "Australia/Lord_Howe", "UTC"};
const std::array<const char*, 4> kGarbage{"", "{\"value\":", "not json at all",
                                          "{\"value\":{\"nested\":[1,2,{}]}}"};

Screen desktop() {
    return Screen{.name = "soak", .frame = {0, 0, 1440, 900}};
}

std::string clockText(Instant t) {
    const VirtualScheduler at(t);
    const Clock clock(at);
    return clock.dayKey(t) + " " + std::to_string(clock.minutesOfDay(t) / 60) + ":" +
           std::to_string(clock.minutesOfDay(t) % 60);
}

// [start, end) in minutes of the day, wrapping past midnight.
bool inWindow(int minute, int start, int end) {
    if (start == end) return false;
    if (start < end) return minute >= start && minute < end;
    return minute >= start || minute < end;
}

void removeStore(const fs::path& path) {
    std::error_code ignored;
    for (const char* suffix : {"", "-wal", "-shm", "-journal"}) {
        fs::remove(path.string() + suffix, ignored);
    }
}

}  // namespace

class SoakRun::World {
public:
    explicit World(SoakOptions options)
        : options_(std::move(options)),
          dice_(options_.seed),
          random_(options_.seed),
          screens_({desktop()}, 24),
          zone_(DefaultZone::name()) {}

    ~World() {
        quit();
        DefaultZone::use(zone_);
    }

    SoakFigures run() {
        removeStore(options_.store);
        scheduler_.advanceTo(kStart);
        open();
        launch();
        for (int day = 0; day < options_.days; ++day) {
            playDay(kStart + day * kDay);
            checkStore();
            ++figures_.days;
            if (!figures_.problems.empty()) break;
        }
        quit();
        return figures_;
    }

private:
    struct Action {
        Instant at;
        std::function<void()> apply;
    };

    // --- her process ---

    void open() {
        store_ = std::make_unique<SqliteStore>(options_.store);
        prefs_ = std::make_unique<Prefs>(*store_);
    }

    void launch() {
        notch_ = std::make_unique<NotchController>(scheduler_, screens_, surface_);
        engine_ = std::make_unique<ReminderEngine>(
            *notch_, *prefs_, sensors_.ports(scheduler_, random_, *store_, idle_, events_),
            trace());
    }

    void quit() {
        pending_.clear();
        engine_.reset();
        notch_.reset();
    }

    // A new process: the file is closed and opened again.
    void restart() {
        quit();
        prefs_.reset();
        store_.reset();
        open();
        launch();
        ++figures_.restarts;
    }

    ReminderEngine::Trace trace() {
        ReminderEngine::Trace trace;
        trace.gated = [this](const Cue& cue, ReminderEngine::Gate gate) {
            if (gate == ReminderEngine::Gate::shown) checkGated(cue);
        };
        trace.presented = [this](const ReminderEngine::Presentation& p) {
            ++figures_.presented;
            checkLine(p.moment);
            if (p.how != ReminderEngine::Presentation::How::face) maybeAnswer(p.moment);
        };
        return trace;
    }

    // --- what must hold ---

    void problem(const std::string& what) {
        figures_.problems.push_back(clockText(scheduler_.now()) + ": " + what);
    }

    void checkGated(const Cue& cue) {
        ++figures_.shown;
        const Instant now = scheduler_.now();
        const std::string kind(rawValue(cue.kind));
        const Clock clock(scheduler_);
        if (inWindow(clock.minutesOfDay(now), prefs_->quietStart.get(), prefs_->quietEnd.get())) {
            problem(kind + " shown in quiet hours");
        }
        if (callSince_ && now - *callSince_ >= kCallNoticed) problem(kind + " shown during a call");
        if (Pause(*prefs_, clock).active()) problem(kind + " shown while she is paused");
        if (sensors_.doNotDisturb.current && prefs_->followDoNotDisturb.get()) {
            problem(kind + " shown under Do Not Disturb");
        }
        // The low battery warns over a full-screen window too.
        if (sensors_.fullScreen.current && prefs_->quietDuringFullScreen.get() &&
            cue.kind != ReminderKind::battery) {
            problem(kind + " shown over a full-screen window");
        }
    }

    void checkLine(const Moment& moment) {
        static const std::regex placeholder(R"(\{[A-Za-z][A-Za-z0-9_]*\})");
        if (std::regex_search(moment.line, placeholder)) {
            problem("placeholder left in \"" + moment.line + "\"");
        }
    }

    void checkStore() {
        if (const auto memory = store_->read(Memory::kKey)) {
            figures_.largestMemory = std::max(figures_.largestMemory, memory->size());
            if (memory->size() > kMemoryBytesLimit) problem("memory document grew past its bound");
            const auto parsed = json::parse(*memory);
            if (!parsed) {
                problem("memory document is not JSON");
            } else if (parsed->contains("days") && (*parsed)["days"].size() > kMemoryDaysLimit) {
                problem("memory keeps " + std::to_string((*parsed)["days"].size()) + " days");
            }
        }
        if (const auto log = store_->read(FiredLog::kKey)) {
            const auto parsed = json::parse(*log);
            if (!parsed || !parsed->is_object()) {
                problem("fired log is not a JSON object");
            } else {
                figures_.largestFiredLog = std::max(figures_.largestFiredLog, parsed->size());
                if (parsed->size() > kFiredLogLimit) {
                    problem("fired log holds " + std::to_string(parsed->size()) + " keys");
                }
            }
        }
        checkFileReadable();
    }

    // The file as another program sees it while she runs.
    void checkFileReadable() {
        const std::string command = "sqlite3 -readonly '" + options_.store.string() +
                                    "' 'pragma integrity_check; select count(*) from defaults;' "
                                    "2>&1";
        FILE* pipe = ::popen(command.c_str(), "r");
        if (!pipe) return problem("cannot run sqlite3");
        std::string output;
        std::array<char, 256> buffer{};
        while (std::fgets(buffer.data(), buffer.size(), pipe)) output += buffer.data();
        const int status = ::pclose(pipe);
        if (status != 0 || !output.starts_with("ok\n")) {
            problem("sqlite3 cannot read the file: " + output);
        }
    }

    // --- the user ---

    double uniform(double low, double high) {
        return std::uniform_real_distribution<double>(low, high)(dice_);
    }
    int number(int low, int high) { return std::uniform_int_distribution<int>(low, high)(dice_); }
    bool chance(double p) { return uniform(0, 1) < p; }
    template <typename List>
    auto pick(const List& list) {
        return list[static_cast<std::size_t>(number(0, static_cast<int>(list.size()) - 1))];
    }

    void maybeAnswer(const Moment& moment) {
        const auto answers = LineBank(random_).answers(moment, prefs_->language.get());
        const double roll = uniform(0, 1);
        if (roll > 0.65) return;  // left to time out
        const bool close = roll > 0.55 || answers.empty();
        const auto answer = answers.empty() ? Answer{} : pick(answers);
        pending_.push_back(scheduler_.after(uniform(1.2, 6), [this, moment, answer, close] {
            const auto& model = notch_->model();
            if (!model.isBubbleShown() || model.moment() != moment) return;
            if (close) {
                if (model.onDismiss) model.onDismiss();
            } else if (model.onAnswer) {
                ++figures_.answers;
                model.onAnswer(moment, answer);
            }
        }));
        std::erase_if(pending_, [](const TaskHandle& task) { return !task.active(); });
    }

    void playDay(Instant dayStart) {
        std::vector<Action> actions;
        const Instant wake = dayStart + uniform(6, 10) * 3600;
        const Instant bed = std::min(wake + uniform(12, 17) * 3600, dayStart + kDay - kMinute);
        actions.push_back({wake, [this] {
                               idle_.active();
                               sensors_.front.current = pick(kApps);
                           }});
        for (Instant t = wake + uniform(5, 50) * kMinute; t < bed; t += uniform(5, 50) * kMinute) {
            plan(t, actions);
        }
        actions.push_back({bed, [this] { idle_.idleFromNow(); }});
        std::stable_sort(actions.begin(), actions.end(),
                         [](const Action& a, const Action& b) { return a.at < b.at; });
        for (const auto& action : actions) {
            if (action.at > scheduler_.now()) scheduler_.advanceTo(action.at);
            action.apply();
        }
        if (dayStart + kDay > scheduler_.now()) scheduler_.advanceTo(dayStart + kDay);
    }

    // One random thing at t (and what follows from it).
    void plan(Instant t, std::vector<Action>& actions) {
        const double roll = uniform(0, 100);
        if (roll < 30) {
            actions.push_back({t, [this] {
                                   sensors_.front.current =
                                       chance(0.1) ? std::nullopt : std::optional(pick(kApps));
                               }});
        } else if (roll < 38) {
            actions.push_back({t, [this] { idle_.idleFromNow(); }});
            actions.push_back({t + uniform(5, 40) * kMinute, [this] { idle_.active(); }});
        } else if (roll < 43) {
            const bool camera = chance(0.5);
            actions.push_back({t, [this, camera] { callStarts(camera); }});
            actions.push_back({t + uniform(10, 70) * kMinute, [this] { callEnds(); }});
        } else if (roll < 50) {
            actions.push_back({t, [this] { powerChanges(); }});
        } else if (roll < 53) {
            actions.push_back({t, [this] { pointerTo(0); }});
            actions.push_back({t + 1, [this] { pointerTo(uniform(-60, 60)); }});
            actions.push_back({t + uniform(2, 8), [this] { sensors_.pointer.moveTo(720, 890); }});
        } else if (roll < 55) {
            const int minutes = number(5, 50);
            actions.push_back({t, [this, minutes] { engine_->startFocus(minutes); }});
            if (chance(0.3)) {
                actions.push_back(
                    {t + uniform(1, 5) * kMinute, [this] { engine_->cancelFocus(); }});
            }
        } else if (roll < 57) {
            actions.push_back({t, [this] { preview(); }});
        } else if (roll < 63) {
            actions.push_back({t, [this] { changeSetting(); }});
        } else if (roll < 64) {
            actions.push_back({t, [this] { garbleSetting(); }});
        } else if (roll < 66) {
            actions.push_back({t, [this, t] { addEvent(t); }});
        } else if (roll < 67.5) {
            actions.push_back({t, [this] { restart(); }});
        } else if (roll < 68.2) {
            actions.push_back({t, [this] {
                                   DefaultZone::use(pick(kZones));
                                   ++figures_.zoneChanges;
                               }});
        } else if (roll < 68.9) {
            actions.push_back({t, [this] { suspend(); }});
        } else if (roll < 70) {
            actions.push_back({t, [this] { engine_->resumed(); }});
        } else if (roll < 71.5) {
            actions.push_back({t, [this] { pauseOrResume(); }});
        } else if (roll < 72.5) {
            actions.push_back({t, [this] { sensors_.doNotDisturb.current = true; }});
            actions.push_back({t + uniform(10, 120) * kMinute,
                               [this] { sensors_.doNotDisturb.current = false; }});
        } else if (roll < 74) {
            actions.push_back({t, [this] { sensors_.fullScreen.current = true; }});
            actions.push_back(
                {t + uniform(10, 150) * kMinute, [this] { sensors_.fullScreen.current = false; }});
        }
    }

    // As from her menu: for a while, until tomorrow, or over.
    void pauseOrResume() {
        const Clock clock(scheduler_);
        Pause pause(*prefs_, clock);
        const double roll = uniform(0, 1);
        if (roll < 0.5) {
            pause.forMinutes(chance(0.5) ? 30 : 60);
        } else if (roll < 0.7) {
            pause.untilTomorrow();
        } else {
            pause.resume();
        }
        ++figures_.pauses;
    }

    void callStarts(bool camera) {
        if (camera) {
            sensors_.media.cameraStates = {true};
        } else {
            sensors_.media.microphone = true;
        }
        if (!callSince_) callSince_ = scheduler_.now();
    }

    void callEnds() {
        sensors_.media.cameraStates = {false};
        sensors_.media.microphone = false;
        callSince_.reset();
    }

    void powerChanges() {
        if (chance(0.3)) {
            onPower_ = !onPower_;
        } else if (onPower_) {
            battery_ = std::min(100, battery_ + number(5, 30));
        } else {
            battery_ = std::max(2, battery_ - number(3, 25));
        }
        sensors_.power.battery(battery_, onPower_);
    }

    void pointerTo(double offset) {
        if (!notch_->geometry()) return;
        const Rect notch = notch_->geometry()->notchRect;
        sensors_.pointer.moveTo(notch.midX() + offset, notch.midY());
    }

    void preview() {
        if (chance(0.3)) return engine_->preview(std::nullopt);
        engine_->preview(
            static_cast<ReminderKind>(number(0, static_cast<int>(caseCount<ReminderKind>()) - 1)));
    }

    // The machine sleeps for a few hours: the clock jumps, then she wakes.
    void suspend() {
        idle_.idleFromNow();
        scheduler_.jumpTo(scheduler_.now() + uniform(1, 8) * 3600);
        engine_->resumed();
        idle_.active();
        ++figures_.clockJumps;
    }

    void addEvent(Instant now) {
        const std::string id = "soak-" + std::to_string(++events_added_);
        events_.add({id, "Meeting " + std::to_string(events_added_),
                     now + uniform(12, 120) * kMinute, chance(0.1), chance(0.1)});
        if (chance(0.05)) events_.setGranted(chance(0.5));
    }

    Uuid uuid() {
        static const char* hex = "0123456789ABCDEF";
        std::string text;
        for (int i = 0; i < 32; ++i) {
            if (i == 8 || i == 12 || i == 16 || i == 20) text += '-';
            text += hex[number(0, 15)];
        }
        return *Uuid::parse(text);
    }

    void changeSetting() {
        ++figures_.settingsChanges;
        Prefs& p = *prefs_;
        switch (number(0, 16)) {
            case 0:
                p.quietStart.set(number(0, 1439));
                break;
            case 1:
                p.quietEnd.set(number(0, 1439));
                break;
            case 2:
                p.minGap.set(number(0, 120));
                break;
            case 3:
                p.showSeconds.set(uniform(2, 20));
                break;
            case 4:
                p.language.set(chance(0.5) ? Language::english : Language::hinglish);
                break;
            case 5:
                p.roastLevel.set(static_cast<RoastLevel>(number(0, 2)));
                break;
            case 6:
                p.setEnabled(static_cast<ReminderKind>(
                                 number(0, static_cast<int>(caseCount<ReminderKind>()) - 1)),
                             chance(0.7));
                break;
            case 7:
                p.waterEvery.set(number(5, 240));
                p.breakEvery.set(number(5, 240));
                break;
            case 8:
                p.birthday.set(MonthDay{number(1, 12), number(1, 29)});
                break;
            case 9: {
                auto countdowns = p.countdowns.get();
                countdowns.push_back({uuid(), "Launch", scheduler_.now() + number(0, 60) * kDay});
                p.countdowns.set(countdowns);
                break;
            }
            case 10: {
                auto reminders = p.customReminders.get();
                reminders.push_back({uuid(), "Stretch your legs", number(5, 180), chance(0.8)});
                p.customReminders.set(reminders);
                break;
            }
            case 11: {
                auto lines = p.taughtLines.get();
                lines.push_back({uuid(), "You are doing great, keep going"});
                p.taughtLines.set(lines);
                break;
            }
            case 12:
                p.bigDay.set(scheduler_.now() + number(-2, 10) * kDay);
                p.bigDayLabel.set("Exam");
                break;
            case 13:
                p.specialDates.set({{uuid(), "Mom's day", MonthDay{number(1, 12), number(1, 28)}}});
                break;
            case 14:
                p.bedtime.set(number(1260, 1439));
                p.callTime.set(number(960, 1200));
                break;
            case 15:
                p.followDoNotDisturb.set(chance(0.8));
                p.quietDuringFullScreen.set(chance(0.8));
                break;
            default:
                p.surprisesPerWeek.set(number(0, 7));
                p.idlePeeks.set(chance(0.7));
                p.sleepInNotch.set(chance(0.7));
                break;
        }
    }

    // Bytes no setting reads, as a hand edit of the file might leave.
    void garbleSetting() {
        const auto keys = prefs_->keys();
        store_->write(pick(keys), pick(kGarbage));
        ++figures_.settingsChanges;
    }

    SoakOptions options_;
    std::mt19937_64 dice_;
    SoakFigures figures_;

    VirtualScheduler scheduler_;
    SeededRandom random_;
    sim::SimIdleTime idle_{scheduler_};
    FakeSensors sensors_;
    sim::SimEventStore events_;
    FixedScreens screens_;
    sim::NullSurface surface_;
    std::unique_ptr<SqliteStore> store_;
    std::unique_ptr<Prefs> prefs_;
    std::unique_ptr<NotchController> notch_;
    std::unique_ptr<ReminderEngine> engine_;
    std::vector<TaskHandle> pending_;

    std::optional<Instant> callSince_;
    int battery_ = 80;
    bool onPower_ = false;
    int events_added_ = 0;
    std::string zone_;  // the default zone before the run, put back after
};

SoakRun::SoakRun(SoakOptions options) : world_(std::make_unique<World>(std::move(options))) {}

SoakRun::~SoakRun() = default;

SoakFigures SoakRun::run() {
    return world_->run();
}

}  // namespace pelliwig::soak
