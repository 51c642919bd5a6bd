#include "linux/calendar/IcalEventStore.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <optional>
#include <ostream>
#include <sstream>
#include <string>
#include <vector>

#include "core/sensors/CalendarSource.h"
#include "support/TestTime.h"

namespace pelliwig {

static void PrintTo(const CalendarEvent& event, std::ostream* out) {
    *out << "{" << event.identifier << ", \"" << event.title << "\", "
         << static_cast<long long>(event.start) << "-" << static_cast<long long>(event.end)
         << (event.allDay ? ", all day" : "");
    if (event.occurrenceStart) *out << ", of " << static_cast<long long>(*event.occurrenceStart);
    *out << "}";
}

namespace {

namespace fs = std::filesystem;
using pelliwig::testing::utc;

// One calendar object around the given lines, with the line ends the format asks for.
std::string calendar(const std::string& body) {
    std::string text = "BEGIN:VCALENDAR\r\nVERSION:2.0\r\nPRODID:-//Tests//EN\r\n";
    std::size_t at = 0;
    while (at < body.size()) {
        const auto end = body.find('\n', at);
        text += body.substr(at, end - at) + "\r\n";
        if (end == std::string::npos) break;
        at = end + 1;
    }
    return text + "END:VCALENDAR\r\n";
}

std::string event(const std::string& lines) {
    return "BEGIN:VEVENT\n" + lines + "\nEND:VEVENT\n";
}

const std::string kNewYork = R"(BEGIN:VTIMEZONE
TZID:America/New_York
BEGIN:DAYLIGHT
TZOFFSETFROM:-0500
TZOFFSETTO:-0400
TZNAME:EDT
DTSTART:19700308T020000
RRULE:FREQ=YEARLY;BYMONTH=3;BYDAY=2SU
END:DAYLIGHT
BEGIN:STANDARD
TZOFFSETFROM:-0400
TZOFFSETTO:-0500
TZNAME:EST
DTSTART:19701101T020000
RRULE:FREQ=YEARLY;BYMONTH=11;BYDAY=1SU
END:STANDARD
END:VTIMEZONE
)";

// A zone no system knows: only the file's own definition can place it.
const std::string kOlympus = R"(BEGIN:VTIMEZONE
TZID:Mars/Olympus
BEGIN:STANDARD
TZOFFSETFROM:+0530
TZOFFSETTO:+0530
DTSTART:19700101T000000
END:STANDARD
END:VTIMEZONE
)";

CalendarEvent single(const std::string& id, const std::string& title, Instant start, Instant end) {
    return CalendarEvent{id, title, start, end, false, std::nullopt};
}

CalendarEvent occurrence(const std::string& id, const std::string& title, Instant start,
                         Instant end, std::optional<Instant> original = std::nullopt) {
    return CalendarEvent{id, title, start, end, false, original ? *original : start};
}

constexpr Instant kHour = 3600;

// Saves a variable and puts it back, so a test's changes stay in that test.
class SavedVariable {
public:
    explicit SavedVariable(const char* name) : name_(name) {
        if (const char* value = std::getenv(name)) value_ = value;
    }
    ~SavedVariable() {
        if (value_) {
            ::setenv(name_, value_->c_str(), 1);
        } else {
            ::unsetenv(name_);
        }
        ::tzset();
    }

private:
    const char* name_;
    std::optional<std::string> value_;
};

// Each test gets its own data folder: test cases of one program may run at
// once and share the configuration folder the test runner set.
class IcalEventStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("XDG_CONFIG_HOME");
        std::string pattern =
            ((base && *base) ? fs::path(base) : fs::temp_directory_path()) / "data-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
        ::setenv("XDG_DATA_HOME", folder.c_str(), 1);
    }
    void TearDown() override {
        std::error_code error;
        fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add, error);
        fs::remove_all(folder);
    }

    fs::path dropFolder() const { return folder / "pelliwig" / "calendars"; }

    fs::path write(const fs::path& path, const std::string& text) const {
        fs::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << text;
        return path;
    }
    fs::path drop(const std::string& name, const std::string& body) const {
        return write(dropFolder() / name, calendar(body));
    }

    // Titles of the events from March to mid-April 2026, once the store
    // has looked at the folders as they are now.
    std::vector<std::string> titles(const IcalEventStore& store) const {
        store.waitForLook();
        std::vector<std::string> found;
        for (const auto& e : store.events(utc(2026, 3, 1), utc(2026, 4, 13))) {
            found.push_back(e.title);
        }
        return found;
    }

    std::optional<bool> accessOf(IcalEventStore& store) const {
        store.waitForLook();
        std::optional<bool> answer;
        store.requestAccess([&](bool granted) { answer = granted; });
        return answer;
    }

    SavedVariable savedDataHome{"XDG_DATA_HOME"};
    SavedVariable savedHome{"HOME"};
    SavedVariable savedZone{"TZ"};
    fs::path folder;
};

// One file and the events it gives in a range.
struct FileCase {
    std::string name;
    std::string body;
    Instant from;
    Instant to;
    std::vector<CalendarEvent> expected;
};

void PrintTo(const FileCase& fileCase, std::ostream* out) {
    *out << fileCase.name;
}

class IcalFileTest : public IcalEventStoreTest, public ::testing::WithParamInterface<FileCase> {};

TEST_P(IcalFileTest, GivesTheOccurrencesInTheRange) {
    drop(GetParam().name + ".ics", GetParam().body);
    IcalEventStore store;
    store.waitForLook();
    EXPECT_EQ(store.events(GetParam().from, GetParam().to), GetParam().expected);
}

const Instant kMarch = utc(2026, 3, 1);
const Instant kMidApril = utc(2026, 4, 13);

const std::vector<FileCase> kFileCases{
    // Europe moves its clocks on 29 March: the wall time stays, UTC moves.
    {"WeeklyWithExceptionMoveAndCancellation",
     event("UID:sync\nSUMMARY:Team sync\nDTSTART;TZID=Europe/Berlin:20260302T100000\n"
           "DTEND;TZID=Europe/Berlin:20260302T103000\n"
           "RRULE:FREQ=WEEKLY;UNTIL=20260406T080000Z\n"
           "EXDATE;TZID=Europe/Berlin:20260309T100000") +
         event("UID:sync\nSUMMARY:Team sync (moved)\n"
               "RECURRENCE-ID;TZID=Europe/Berlin:20260316T100000\n"
               "DTSTART;TZID=Europe/Berlin:20260317T140000\n"
               "DTEND;TZID=Europe/Berlin:20260317T150000") +
         event("UID:sync\nSUMMARY:Team sync\nSTATUS:CANCELLED\n"
               "RECURRENCE-ID;TZID=Europe/Berlin:20260323T100000\n"
               "DTSTART;TZID=Europe/Berlin:20260323T100000"),
     kMarch,
     kMidApril,
     {occurrence("sync", "Team sync", utc(2026, 3, 2, 9), utc(2026, 3, 2, 9, 30)),
      occurrence("sync", "Team sync (moved)", utc(2026, 3, 17, 13), utc(2026, 3, 17, 14),
                 utc(2026, 3, 16, 9)),
      occurrence("sync", "Team sync", utc(2026, 3, 30, 8), utc(2026, 3, 30, 8, 30)),
      occurrence("sync", "Team sync", utc(2026, 4, 6, 8), utc(2026, 4, 6, 8, 30))}},
    // New York moves its clocks on 8 March, with the file's own zone rules.
    {"NewYorkDailyAcrossItsClockChange",
     kNewYork + event("UID:ny\nSUMMARY:Stand-up\nDTSTART;TZID=America/New_York:20260306T090000\n"
                      "DURATION:PT15M\nRRULE:FREQ=DAILY;COUNT=4"),
     kMarch,
     kMidApril,
     {occurrence("ny", "Stand-up", utc(2026, 3, 6, 14), utc(2026, 3, 6, 14, 15)),
      occurrence("ny", "Stand-up", utc(2026, 3, 7, 14), utc(2026, 3, 7, 14, 15)),
      occurrence("ny", "Stand-up", utc(2026, 3, 8, 13), utc(2026, 3, 8, 13, 15)),
      occurrence("ny", "Stand-up", utc(2026, 3, 9, 13), utc(2026, 3, 9, 13, 15))}},
    {"ZoneOnlyTheFileDefines",
     kOlympus + event("UID:mars\nSUMMARY:Rover\nDTSTART;TZID=Mars/Olympus:20260304T103000"),
     kMarch,
     kMidApril,
     {single("mars", "Rover", utc(2026, 3, 4, 5), utc(2026, 3, 4, 5))}},
    {"ZoneFromTheSystemWithoutVtimezone",
     event("UID:tokyo\nSUMMARY:Tokyo call\nDTSTART;TZID=Asia/Tokyo:20260304T180000\n"
           "DTEND;TZID=Asia/Tokyo:20260304T190000"),
     kMarch,
     kMidApril,
     {single("tokyo", "Tokyo call", utc(2026, 3, 4, 9), utc(2026, 3, 4, 10))}},
    {"ZoneNamesWithAWritersPrefix",
     event("UID:a\nSUMMARY:A\nDTSTART;TZID=/citadel.org/20190101_1/Asia/Tokyo:20260304T180000") +
         event("UID:b\nSUMMARY:B\n"
               "DTSTART;TZID=/freeassociation.sourceforge.net/Asia/Tokyo:20260305T180000"),
     kMarch,
     kMidApril,
     {single("a", "A", utc(2026, 3, 4, 9), utc(2026, 3, 4, 9)),
      single("b", "B", utc(2026, 3, 5, 9), utc(2026, 3, 5, 9))}},
    // Floating times are local wall times, before and after the clock change.
    {"FloatingTimesAreLocal",
     event("UID:lunch\nSUMMARY:Lunch\nDTSTART:20260327T120000\nDTEND:20260327T130000\n"
           "RRULE:FREQ=DAILY;COUNT=4"),
     kMarch,
     kMidApril,
     {occurrence("lunch", "Lunch", utc(2026, 3, 27, 11), utc(2026, 3, 27, 12)),
      occurrence("lunch", "Lunch", utc(2026, 3, 28, 11), utc(2026, 3, 28, 12)),
      occurrence("lunch", "Lunch", utc(2026, 3, 29, 10), utc(2026, 3, 29, 11)),
      occurrence("lunch", "Lunch", utc(2026, 3, 30, 10), utc(2026, 3, 30, 11))}},
    // All-day events run from local midnight to local midnight.
    {"AllDayEvents",
     event("UID:holiday\nSUMMARY:Holiday\nDTSTART;VALUE=DATE:20260310\n"
           "DTEND;VALUE=DATE:20260311") +
         event("UID:trip\nSUMMARY:Trip\nDTSTART;VALUE=DATE:20260327\nDURATION:P3D") +
         event("UID:birthday\nSUMMARY:Birthday\nDTSTART;VALUE=DATE:20000312\n"
               "RRULE:FREQ=YEARLY"),
     kMarch,
     kMidApril,
     {CalendarEvent{"holiday", "Holiday", utc(2026, 3, 9, 23), utc(2026, 3, 10, 23), true,
                    std::nullopt},
      CalendarEvent{"birthday", "Birthday", utc(2026, 3, 11, 23), utc(2026, 3, 12, 23), true,
                    utc(2026, 3, 11, 23)},
      CalendarEvent{"trip", "Trip", utc(2026, 3, 26, 23), utc(2026, 3, 29, 22), true,
                    std::nullopt}}},
    {"CancelledEventsAreLeftOut",
     event("UID:gone\nSUMMARY:Gone\nSTATUS:CANCELLED\nDTSTART:20260304T080000Z") +
         event("UID:gone-series\nSUMMARY:Gone too\nSTATUS:CANCELLED\n"
               "DTSTART:20260304T090000Z\nRRULE:FREQ=DAILY") +
         event("UID:kept\nSUMMARY:Kept\nSTATUS:CONFIRMED\nDTSTART:20260304T100000Z"),
     kMarch,
     kMidApril,
     {single("kept", "Kept", utc(2026, 3, 4, 10), utc(2026, 3, 4, 10))}},
    // Each RDATE in its own zone; a period brings its own length.
    {"RdatesAddOccurrences",
     kNewYork + event("UID:review\nSUMMARY:Review\n"
                      "DTSTART;TZID=America/New_York:20260302T150000\nDURATION:PT30M\n"
                      "RDATE;TZID=America/New_York:20260311T150000\n"
                      "RDATE:20260320T120000Z\n"
                      "RDATE;VALUE=PERIOD:20260325T100000Z/PT2H"),
     kMarch,
     kMidApril,
     {occurrence("review", "Review", utc(2026, 3, 2, 20), utc(2026, 3, 2, 20, 30)),
      occurrence("review", "Review", utc(2026, 3, 11, 19), utc(2026, 3, 11, 19, 30)),
      occurrence("review", "Review", utc(2026, 3, 20, 12), utc(2026, 3, 20, 12, 30)),
      occurrence("review", "Review", utc(2026, 3, 25, 10), utc(2026, 3, 25, 12))}},
    // The file may hold just the moved occurrence of someone else's series.
    {"OverrideWithoutItsSeries",
     event("UID:invite\nSUMMARY:Invite\nRECURRENCE-ID:20260305T090000Z\n"
           "DTSTART:20260305T100000Z\nDTEND:20260305T110000Z"),
     kMarch,
     kMidApril,
     {occurrence("invite", "Invite", utc(2026, 3, 5, 10), utc(2026, 3, 5, 11),
                 utc(2026, 3, 5, 9))}},
    // A rule running since long ago still gives exact times in a short range.
    {"OldOpenEndedRule",
     event("UID:old\nSUMMARY:Old\nDTSTART:20000103T073000Z\nDURATION:PT1H\n"
           "RRULE:FREQ=WEEKLY;BYDAY=MO,WE"),
     utc(2026, 3, 2),
     utc(2026, 3, 5),
     {occurrence("old", "Old", utc(2026, 3, 2, 7, 30), utc(2026, 3, 2, 8, 30)),
      occurrence("old", "Old", utc(2026, 3, 4, 7, 30), utc(2026, 3, 4, 8, 30))}},
    {"CountedRuleThatEndedBefore",
     event("UID:done\nSUMMARY:Done\nDTSTART:20260201T090000Z\nRRULE:FREQ=DAILY;COUNT=3"),
     kMarch,
     kMidApril,
     {}},
    // Already running at the range's start counts; ending at it, or starting
    // at its end, does not.
    {"OverlapWithTheRange",
     event("UID:running\nSUMMARY:Running\nDTSTART:20260304T083000Z\nDTEND:20260304T093000Z") +
         event("UID:ended\nSUMMARY:Ended\nDTSTART:20260304T080000Z\nDTEND:20260304T090000Z") +
         event("UID:instant\nSUMMARY:Instant\nDTSTART:20260304T090000Z") +
         event("UID:later\nSUMMARY:Later\nDTSTART:20260304T100000Z"),
     utc(2026, 3, 4, 9),
     utc(2026, 3, 4, 10),
     {single("running", "Running", utc(2026, 3, 4, 8, 30), utc(2026, 3, 4, 9, 30)),
      single("instant", "Instant", utc(2026, 3, 4, 9), utc(2026, 3, 4, 9))}},
    // Followed from the range, not from 2000; the count still ends it on 4 March.
    {"CountedRuleFromLongAgoEndingInTheRange",
     event("UID:count\nSUMMARY:Counted\nDTSTART:20000103T090000Z\nDURATION:PT1H\n"
           "RRULE:FREQ=DAILY;COUNT=9558"),
     utc(2026, 3, 2),
     utc(2026, 3, 8),
     {occurrence("count", "Counted", utc(2026, 3, 2, 9), utc(2026, 3, 2, 10)),
      occurrence("count", "Counted", utc(2026, 3, 3, 9), utc(2026, 3, 3, 10)),
      occurrence("count", "Counted", utc(2026, 3, 4, 9), utc(2026, 3, 4, 10))}},
    // Days no month has give nothing past the start; the 29th of February
    // comes every four years.
    {"RulesOnDaysThatDoNotExist",
     event("UID:feb30\nSUMMARY:30 February\nDTSTART:20250130T090000Z\n"
           "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=30") +
         event("UID:apr31\nSUMMARY:31 April\nDTSTART:20250131T090000Z\n"
               "RRULE:FREQ=MONTHLY;BYMONTH=4,6;BYMONTHDAY=31;COUNT=5") +
         event("UID:monday31\nSUMMARY:Monday 31 February\nDTSTART:20250131T090000Z\n"
               "RRULE:FREQ=MONTHLY;BYMONTH=2;BYMONTHDAY=31;BYDAY=MO") +
         event("UID:leap\nSUMMARY:Leap day\nDTSTART:20240229T090000Z\n"
               "RRULE:FREQ=YEARLY;BYMONTH=2;BYMONTHDAY=29"),
     utc(2025, 2, 1),
     utc(2028, 12, 31),
     {occurrence("leap", "Leap day", utc(2028, 2, 29, 9), utc(2028, 2, 29, 9))}},
    {"MissingFieldsAndEventsWithoutStart",
     event("DTSTART:20260304T090000Z") + event("UID:nostart\nSUMMARY:No start"),
     kMarch,
     kMidApril,
     {single("", "", utc(2026, 3, 4, 9), utc(2026, 3, 4, 9))}},
};

INSTANTIATE_TEST_SUITE_P(Files, IcalFileTest, ::testing::ValuesIn(kFileCases),
                         [](const auto& row) { return row.param.name; });

TEST_F(IcalEventStoreTest, FloatingTimesFollowTheZoneAtTheTimeOfAsking) {
    drop("lunch.ics", event("UID:lunch\nSUMMARY:Lunch\nDTSTART:20260304T120000"));
    IcalEventStore store;
    store.waitForLook();
    const auto before = store.events(kMarch, kMidApril);
    ASSERT_EQ(before.size(), 1u);
    EXPECT_EQ(before[0].start, utc(2026, 3, 4, 11));

    ::setenv("TZ", "America/New_York", 1);
    ::tzset();
    const auto after = store.events(kMarch, kMidApril);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].start, utc(2026, 3, 4, 17));
}

TEST_F(IcalEventStoreTest, ReadsEvolutionCalendarsAndDroppedFiles) {
    write(folder / "evolution" / "calendar" / "system" / "calendar.ics",
          calendar(event("UID:e\nSUMMARY:Evolution\nDTSTART:20260302T090000Z")));
    write(folder / "evolution" / "calendar" / "system" / "other.ics",
          calendar(event("UID:x\nSUMMARY:Not a calendar of Evolution\nDTSTART:20260302T090000Z")));
    drop("work/exported.ICS", event("UID:w\nSUMMARY:Nested\nDTSTART:20260303T090000Z"));
    drop("notes.txt", event("UID:n\nSUMMARY:Not an ics file\nDTSTART:20260303T090000Z"));

    const std::vector<std::string> expected{"Evolution", "Nested"};
    EXPECT_EQ(titles(IcalEventStore()), expected);
}

// The same file reached by two links is read once, under its first path.
TEST_F(IcalEventStoreTest, LinkedFilesAndFoldersAreRead) {
    const auto elsewhere =
        write(folder / "elsewhere" / "linked.ics",
              calendar(event("UID:l\nSUMMARY:Linked\nDTSTART:20260304T090000Z")));
    fs::create_directories(dropFolder());
    fs::create_symlink(elsewhere, dropFolder() / "linked.ics");
    fs::create_directory_symlink(folder / "elsewhere", dropFolder() / "folder-link");
    const std::vector<std::string> expected{"Linked"};
    IcalEventStore store;
    EXPECT_EQ(titles(store), expected);
    EXPECT_EQ(store.calendarFiles(),
              std::vector<fs::path>{dropFolder() / "folder-link/linked.ics"});
}

TEST_F(IcalEventStoreTest, AMalformedFileDoesNotHarmTheOthers) {
    drop("a-good.ics", event("UID:a\nSUMMARY:Before\nDTSTART:20260302T090000Z"));
    write(dropFolder() / "b-garbage.ics", std::string("\x01\x02 not {a} calendar\n\xff\xfe", 22));
    write(dropFolder() / "c-cut-short.ics",
          "BEGIN:VCALENDAR\r\nBEGIN:VEVENT\r\nUID:cut\r\nDTSTART:20260302T100000Z\r\n");
    drop("d-good.ics", event("UID:d\nSUMMARY:After\nDTSTART:20260303T090000Z\n"
                             "RRULE:FREQ=NONSENSE;COUNT=x"));
    const std::vector<std::string> expected{"Before", "After"};
    EXPECT_EQ(titles(IcalEventStore()), expected);
}

// A calendar moved away leaves its link behind; the walk goes on past it.
TEST_F(IcalEventStoreTest, BrokenLinksDoNotHideOtherFiles) {
    fs::create_directories(dropFolder());
    for (const char* name : {"a-gone.ics", "b-gone-folder", "d-gone.ics"}) {
        fs::create_symlink(folder / "nonexistent" / name, dropFolder() / name);
    }
    drop("c-good.ics", event("UID:c\nSUMMARY:Kept\nDTSTART:20260302T090000Z"));
    drop("e-good.ics", event("UID:e\nSUMMARY:Also kept\nDTSTART:20260303T090000Z"));
    const std::vector<std::string> expected{"Kept", "Also kept"};
    EXPECT_EQ(titles(IcalEventStore()), expected);
}

// Some exports append one calendar object per calendar to the same file.
TEST_F(IcalEventStoreTest, ReadsEveryCalendarObjectOfAFile) {
    write(dropFolder() / "two.ics",
          calendar(event("UID:1\nSUMMARY:First\nDTSTART:20260302T090000Z")) +
              calendar(event("UID:2\nSUMMARY:Second\nDTSTART:20260303T090000Z")));
    EXPECT_EQ(titles(IcalEventStore()), (std::vector<std::string>{"First", "Second"}));
}

TEST_F(IcalEventStoreTest, AnOversizedFileIsSkipped) {
    drop("small.ics", event("UID:s\nSUMMARY:Small\nDTSTART:20260302T090000Z"));
    std::string padding;
    const std::string line = "X-PADDING:" + std::string(100, 'x') + "\n";
    while (padding.size() <= IcalEventStore::kMaxFileBytes) padding += line;
    drop("huge.ics", event("UID:h\nSUMMARY:Huge\nDTSTART:20260302T100000Z\n" + padding));
    ASSERT_GT(fs::file_size(dropFolder() / "huge.ics"), IcalEventStore::kMaxFileBytes);

    const std::vector<std::string> expected{"Small"};
    EXPECT_EQ(titles(IcalEventStore()), expected);
}

// The cached copy answers while the file is unchanged, even when its bytes
// are not; a new modification time or size makes it read again.
TEST_F(IcalEventStoreTest, ReadsAFileAgainOnlyWhenItChanged) {
    const auto path = drop("one.ics", event("UID:1\nSUMMARY:Alpha\nDTSTART:20260302T090000Z"));
    IcalEventStore store;
    EXPECT_EQ(titles(store), std::vector<std::string>{"Alpha"});
    store.waitForLook();  // no look may catch the file between its rewrite and its old time

    struct stat before {};
    ASSERT_EQ(::stat(path.c_str(), &before), 0);
    drop("one.ics", event("UID:1\nSUMMARY:Bravo\nDTSTART:20260302T090000Z"));
    const timespec times[2] = {before.st_atim, before.st_mtim};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), times, 0), 0);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Alpha"});

    const timespec later[2] = {before.st_atim, {before.st_mtim.tv_sec + 1, 0}};
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Bravo"});

    drop("one.ics", event("UID:1\nSUMMARY:Charlie, longer\nDTSTART:20260302T090000Z"));
    ASSERT_EQ(::utimensat(AT_FDCWD, path.c_str(), later, 0), 0);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Charlie, longer"});
}

TEST_F(IcalEventStoreTest, FollowsFilesComingAndGoing) {
    IcalEventStore store;
    EXPECT_TRUE(titles(store).empty());
    const auto path = drop("one.ics", event("UID:1\nSUMMARY:One\nDTSTART:20260302T090000Z"));
    drop("two.ics", event("UID:2\nSUMMARY:Two\nDTSTART:20260303T090000Z"));
    EXPECT_EQ(titles(store), (std::vector<std::string>{"One", "Two"}));
    fs::remove(path);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Two"});
}

TEST_F(IcalEventStoreTest, FilesAreMergedByStart) {
    drop("a.ics", event("UID:a1\nSUMMARY:A late\nDTSTART:20260305T090000Z") +
                      event("UID:a2\nSUMMARY:A early\nDTSTART:20260302T090000Z"));
    drop("b.ics", event("UID:b\nSUMMARY:B middle\nDTSTART:20260303T090000Z"));
    EXPECT_EQ(titles(IcalEventStore()),
              (std::vector<std::string>{"A early", "B middle", "A late"}));
}

TEST_F(IcalEventStoreTest, AccessIsDeniedWithoutCalendarFiles) {
    IcalEventStore store;
    EXPECT_EQ(accessOf(store), false);
    drop("notes.txt", event("UID:n\nDTSTART:20260303T090000Z"));
    EXPECT_EQ(accessOf(store), false);
}

TEST_F(IcalEventStoreTest, AccessIsGrantedForAnyReadableCalendarFile) {
    drop("broken.ics", "this is no calendar");
    IcalEventStore store;
    EXPECT_EQ(accessOf(store), true);
}

TEST_F(IcalEventStoreTest, AccessIsGrantedForAnEvolutionCalendar) {
    write(folder / "evolution" / "calendar" / "system" / "calendar.ics", calendar(""));
    IcalEventStore store;
    EXPECT_EQ(accessOf(store), true);
}

TEST_F(IcalEventStoreTest, AccessIsDeniedWhenNoFileCanBeRead) {
    const auto path = drop("locked.ics", event("UID:1\nSUMMARY:Locked\nDTSTART:20260302T090000Z"));
    fs::permissions(path, fs::perms::none);
    const int fd = ::open(path.c_str(), O_RDONLY);
    if (fd >= 0) {
        ::close(fd);
        GTEST_SKIP() << "running as root, so a file without permissions can still be read";
    }
    IcalEventStore store;
    EXPECT_EQ(accessOf(store), false);
    EXPECT_TRUE(titles(store).empty());

    fs::permissions(path, fs::perms::owner_read);
    EXPECT_EQ(accessOf(store), true);
    EXPECT_EQ(titles(store), std::vector<std::string>{"Locked"});
}

// Enabling calendar nudges before there is any calendar file refuses access;
// a calendar that shows up later must still be announced, without a restart.
TEST_F(IcalEventStoreTest, CalendarsThatAppearAfterARefusalAreAnnounced) {
    IcalEventStore store;
    CalendarSource source(store);
    TickContext context;
    context.now = utc(2026, 3, 2, 8, 50);
    const auto keysNow = [&] {
        std::vector<std::string> keys;
        for (const auto& cue : source.cues(context)) keys.push_back(cue.onceKey.value_or(""));
        return keys;
    };
    using Keys = std::vector<std::string>;
    EXPECT_EQ(keysNow(), Keys{});  // the request, refused
    EXPECT_FALSE(store.accessMayHaveChanged());
    drop("notes.txt", event("UID:n\nDTSTART:20260302T090000Z"));
    store.waitForLook();
    EXPECT_FALSE(store.accessMayHaveChanged());
    EXPECT_EQ(keysNow(), Keys{});

    drop("work/standup.ics", event("UID:standup\nSUMMARY:Stand-up\nDTSTART:20260302T090000Z"));
    store.waitForLook();
    EXPECT_TRUE(store.accessMayHaveChanged());
    EXPECT_EQ(keysNow(), Keys{});  // asked again, granted
    EXPECT_FALSE(store.accessMayHaveChanged());
    context.now += 30;
    EXPECT_EQ(keysNow(), Keys{"cal|standup"});
}

TEST_F(IcalEventStoreTest, AFifoInTheFolderIsSkippedUnopened) {
    fs::create_directories(dropFolder());
    ASSERT_EQ(::mkfifo((dropFolder() / "a-pipe.ics").c_str(), 0600), 0);
    drop("b-good.ics", event("UID:b\nSUMMARY:Good\nDTSTART:20260302T090000Z"));
    IcalEventStore store;
    EXPECT_EQ(titles(store), std::vector<std::string>{"Good"});
    EXPECT_EQ(store.calendarFiles(), std::vector<fs::path>{dropFolder() / "b-good.ics"});
}

// Links back to the folder itself would multiply every path through them.
TEST_F(IcalEventStoreTest, LinksFanningOutReadEachFileOnce) {
    drop("once.ics", event("UID:o\nSUMMARY:Once\nDTSTART:20260302T090000Z"));
    for (int link = 0; link < 12; ++link) {
        fs::create_directory_symlink(".", dropFolder() / ("loop-" + std::to_string(link)));
    }
    IcalEventStore store;
    EXPECT_EQ(titles(store), std::vector<std::string>{"Once"});
    EXPECT_EQ(store.calendarFiles(), std::vector<fs::path>{dropFolder() / "once.ics"});
}

// Editors save by writing a new file over the old one's name.
TEST_F(IcalEventStoreTest, AFileReplacedUnderItsNameIsReadAgain) {
    drop("one.ics", event("UID:1\nSUMMARY:Old\nDTSTART:20260302T090000Z"));
    IcalEventStore store;
    EXPECT_EQ(titles(store), std::vector<std::string>{"Old"});
    drop("one.ics.new", event("UID:1\nSUMMARY:New\nDTSTART:20260303T090000Z"));
    fs::rename(dropFolder() / "one.ics.new", dropFolder() / "one.ics");
    EXPECT_EQ(titles(store), std::vector<std::string>{"New"});
}

// A file that takes longer than its budget is left out, said once, and
// tried again when it changes.
TEST_F(IcalEventStoreTest, AFileTooSlowToReadIsLeftOutUntilItChanges) {
    const auto slow = drop("slow.ics", event("UID:s\nSUMMARY:Slow\nDTSTART:20260302T090000Z"));
    std::ostringstream log;
    IcalEventStore store(folder, std::chrono::milliseconds(-1), log);
    EXPECT_TRUE(titles(store).empty());
    EXPECT_TRUE(titles(store).empty());
    const std::string line =
        "calendar: " + slow.string() + " takes too long to read; it is left out until it changes\n";
    EXPECT_EQ(log.str(), line);
    EXPECT_EQ(accessOf(store), true);  // readable, if not usable

    drop("slow.ics", event("UID:s\nSUMMARY:Slow, changed\nDTSTART:20260302T090000Z"));
    EXPECT_TRUE(titles(store).empty());
    EXPECT_EQ(log.str(), line + line);
}

// A count too long to follow is said in the log, and the rule runs on.
TEST_F(IcalEventStoreTest, ACountTooLongToFollowIsTakenAsRunningOn) {
    const auto path = drop("long.ics", event("UID:l\nSUMMARY:Long\nDTSTART:20000101T090000Z\n"
                                             "RRULE:FREQ=HOURLY;COUNT=900000"));
    std::ostringstream log;
    IcalEventStore store(folder, IcalEventStore::kFileBudget, log);
    store.waitForLook();
    EXPECT_EQ(store.events(utc(2026, 3, 2, 9), utc(2026, 3, 2, 11)).size(), 2u);
    EXPECT_EQ(log.str(), "calendar: " + path.string() +
                             ": 1 rule repeats more than 20000 times; taken as running on\n");
}

struct DataHomeCase {
    const char* value;
    bool fromHome;
};

void PrintTo(const DataHomeCase& dataHome, std::ostream* out) {
    *out << (dataHome.value ? dataHome.value : "(unset)");
}

class DataHomeTest : public IcalEventStoreTest,
                     public ::testing::WithParamInterface<DataHomeCase> {};

// Unset, empty or relative values fall back to ~/.local/share.
TEST_P(DataHomeTest, FollowsTheBaseDirectoryRules) {
    ::setenv("HOME", "/home/someone", 1);
    if (GetParam().value) {
        ::setenv("XDG_DATA_HOME", GetParam().value, 1);
    } else {
        ::unsetenv("XDG_DATA_HOME");
    }
    const fs::path expected =
        GetParam().fromHome ? fs::path("/home/someone/.local/share") : fs::path(GetParam().value);
    EXPECT_EQ(IcalEventStore::dataHome(), expected);
}

INSTANTIATE_TEST_SUITE_P(Values, DataHomeTest,
                         ::testing::Values(DataHomeCase{nullptr, true}, DataHomeCase{"", true},
                                           DataHomeCase{"relative/data", true},
                                           DataHomeCase{"/srv/data", false}));

}  // namespace
}  // namespace pelliwig
