#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "core/content/AppBucket.h"
#include "core/content/LineBank.h"
#include "core/content/Reminder.h"
#include "core/engine/ActivityTracker.h"
#include "core/engine/AppSwitchRemarks.h"
#include "core/engine/CueGate.h"
#include "core/engine/FiredLog.h"
#include "core/engine/LinePicker.h"
#include "core/engine/Memory.h"
#include "core/engine/Outlook.h"
#include "core/engine/Pause.h"
#include "core/notch/NotchController.h"
#include "core/platform/DoNotDisturb.h"
#include "core/platform/EventStore.h"
#include "core/platform/FrontApp.h"
#include "core/platform/FullScreen.h"
#include "core/platform/IdleTime.h"
#include "core/platform/KeyValueStore.h"
#include "core/platform/MediaDevices.h"
#include "core/platform/PointerEvents.h"
#include "core/platform/PowerSources.h"
#include "core/platform/Random.h"
#include "core/platform/Scheduler.h"
#include "core/sensors/BatteryMonitor.h"
#include "core/sensors/CalendarSource.h"
#include "core/sensors/FocusTimer.h"
#include "core/sensors/HoverMonitor.h"
#include "core/sensors/MeetingDetector.h"
#include "core/sensors/TickContext.h"
#include "core/settings/Prefs.h"
#include "core/support/Clock.h"
#include "core/support/Enum.h"
#include "core/support/Signal.h"

namespace pelliwig {

// Her whole behaviour: every 30 seconds a snapshot of the world, the rules'
// cues through one gate, and the moment that passes handed to the notch;
// besides that the answers, hover, peeks, calls, app-switch remarks, focus
// sessions and previews. Owns its sensors, line bank, fired log and memory;
// everything it does not own arrives through the constructor and must
// outlive it. Its callbacks and delayed work die with it.
class ReminderEngine {
public:
    // The platform the engine runs on.
    struct Ports {
        Scheduler& scheduler;
        Random& random;
        KeyValueStore& store;  // "memory" and "firedLog"
        const IdleTime& idle;
        const FrontApp& front;
        PowerSources& power;
        const MediaDevices& media;
        EventStore& events;
        PointerEvents& pointer;
        const DoNotDisturb& doNotDisturb;
        const FullScreen& fullScreen;
    };

    // Why the gate stopped a cue (CueGate).
    using Gate = GateVerdict;

    // What appSwitchLine chose to say, and with which face.
    using Said = AppSwitchRemarks::Said;

    // One moment handed to the notch, for whoever traces her.
    struct Presentation {
        enum class How { present, swap, face };
        How how;
        Moment moment;
        std::optional<double> seconds;  // display time; none stays until taken away
    };

    static constexpr double kTickSeconds = 30;
    static constexpr double kResumeDelay = 3;
    static constexpr double kSnoozeSeconds = 600;
    static constexpr double kReactionSeconds = 3;
    static constexpr double kSleepPeekSeconds = 6;
    static constexpr double kIdlePeekSeconds = 2.2;
    static constexpr double kSleepPeekEvery = 1800;
    static constexpr double kMeetingWorthAsking = 600;
    static constexpr double kHoverEyesReach = 70;

    // Told of every cue offered to the gate, with the verdict, and of every
    // moment the engine presents, swaps in or re-faces; for whoever traces
    // her (the simulator, tests). Either may be empty.
    struct Trace {
        std::function<void(const Cue&, Gate)> gated;
        std::function<void(const Presentation&)> presented;
    };

    // Wires itself to the notch, the battery and the pointer, starts the
    // 30-second tick and runs one tick at once (traced already).
    ReminderEngine(NotchController& notch, Prefs& prefs, const Ports& ports, Trace trace = {});
    ~ReminderEngine();
    ReminderEngine(const ReminderEngine&) = delete;
    ReminderEngine& operator=(const ReminderEngine&) = delete;

    // One pass: snapshot, calls, app switches, the rules through the gate, peeks.
    void tick();

    // The gate. The verdict is for tracing; callers need not look at it.
    Gate fire(const Cue& cue);

    // The world as the gate sees it now.
    GateWorld gateWorld() const;
    // What holds her back now and which interval reminder comes next, by the
    // gate's own rules; reads the sensors, so it is for when someone asks,
    // not for every tick.
    Outlook outlook() const;

    // The user pressed one of the shown moment's buttons.
    void answer(const Moment& moment, const Answer& answer);

    // Whether the desktop asks programs to keep still (its animations are
    // off); her own setting asks the same. Empty: only her own setting.
    std::function<bool()> desktopReducesMotion;
    // Either asks her to keep still: her eyes then do not follow the pointer.
    bool motionReduced() const;

    // The pointer came to rest in the notch, moved `offset` points right of
    // its centre while there, or went away.
    void hoverEntered();
    void hoverMoved(double offset);
    void hoverLeft();

    // The peeks at the end of a tick: sleeping, surprise and idle.
    void presence(const TickContext& context);

    // True while a call runs, which ends the tick; asks about a long one after.
    bool trackMeeting(const TickContext& context);

    // After wake or unlock: the stretches restart and a tick follows shortly.
    void resumed();

    // One moment at once, whatever the settings; a random kind without one.
    void preview(std::optional<ReminderKind> kind);

    // Starts a focus session, replacing a running one; its end shows a moment.
    void startFocus(int minutes);
    // Drops the running session; its moment never comes.
    void cancelFocus();

    // Follows the front application and may remark on a switch.
    void noticeApp(const TickContext& context, std::optional<AppBucket> bucket);

    // The remark for a switch to `bucket` after `stretch` seconds in
    // `previous`, at minute `at` of the day, if the dice allow one.
    std::optional<Said> appSwitchLine(AppBucket bucket, const std::string& name,
                                      std::optional<AppBucket> previous, double stretch, int at);

    Memory& memory() { return memory_; }
    const Memory& memory() const { return memory_; }
    const FiredLog& fired() const { return fired_; }
    const std::optional<FocusTimer>& focus() const { return focus_; }
    std::optional<Instant> meetingStart() const { return meetingStart_; }
    Instant lastShown() const { return lastShown_; }

private:
    // A cue of normal style without an image.
    static Cue plainCue(ReminderKind kind, std::optional<std::string> onceKey = std::nullopt,
                        std::optional<std::string> line = std::nullopt,
                        std::optional<Face> face = std::nullopt);

    void wire();
    void timedOut(const Moment& moment);
    void show(const Cue& cue);
    Gate verdict(const Cue& cue) const;
    std::optional<Instant> quietEnds() const;
    std::optional<Instant> nextDue(ReminderKind kind, int everyMinutes) const;
    bool inQuietHours(int minutesOfDay) const;
    bool doNotDisturbOn() const;
    bool fullScreenOn() const;
    bool fullScreenHolds(ReminderKind kind) const;
    // Quiet hours, a pause or the desktop's do-not-disturb: she sleeps.
    bool asleep(int minutesOfDay) const;
    double minimumGap() const;
    bool notchBusy() const;
    bool notchBusyWithNudge() const;
    void present(const Moment& moment, std::optional<double> seconds);
    void swap(const Moment& moment, std::optional<double> hideAfter);

    void replyTo(const Moment& moment, Answer::Tone tone);
    Moment reaction(Answer::Tone tone, ReminderKind kind);
    void snoozeReturn(const Moment& moment);
    void focusFinished();
    void later(double seconds, std::function<void(ReminderEngine&)> work);

    void sleepingPeek(const TickContext& context);
    void surpriseOrIdlePeek();
    Face moodFace() const;

    std::optional<std::string> previewLine(ReminderKind kind);

    Language language() const { return prefs_.language.get(); }

    // The platform, then the fields of the design in their order.
    Ports ports_;
    Trace trace_;
    Clock clock_;
    MeetingDetector meetings_;
    NotchController& notch_;
    Prefs& prefs_;
    LineBank lines_;
    std::optional<ActivityTracker> activity_;  // rebuilt on resume: both stretches restart
    BatteryMonitor battery_;
    CalendarSource calendar_;
    HoverMonitor hover_;
    FiredLog fired_;
    Memory memory_;
    LinePicker picker_;
    AppSwitchRemarks apps_;
    std::optional<FocusTimer> focus_;
    Pause pause_;
    TaskHandle timer_;
    Instant lastShown_ = kDistantPast;
    std::optional<Instant> meetingStart_;
    Instant lastSleepPeek_ = kDistantPast;
    std::optional<Moment> hoverMoment_;

    Connection timedOutWatch_;
    // Snooze returns and the tick after a resume.
    std::vector<TaskHandle> delayed_;
    // Lent to callbacks held by others (the notch model and controller): they
    // do nothing once the engine is gone.
    std::shared_ptr<ReminderEngine*> self_;
};

}  // namespace pelliwig
