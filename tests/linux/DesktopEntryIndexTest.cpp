#include "linux/xdg/DesktopEntryIndex.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "support/ScopedEnv.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

// A desktop entry placed in one of the test's applications folders.
struct EntryFile {
    int folder;  // index into the folders, earlier ones winning
    std::string relativePath;
    std::string text;
};

std::string application(const std::string& name, const std::string& extra = "") {
    return "[Desktop Entry]\nType=Application\nName=" + name + "\nExec=true\n" + extra;
}

class Folders {
public:
    Folders() : root_(fs::temp_directory_path() / ("entries-" + std::to_string(::getpid()))) {
        fs::remove_all(root_);
        for (int i = 0; i < 2; ++i) {
            folders_.push_back(root_ / std::to_string(i) / "applications");
            fs::create_directories(folders_.back());
        }
    }
    ~Folders() { fs::remove_all(root_); }

    void write(const EntryFile& entry) const {
        const fs::path path = folders_.at(entry.folder) / entry.relativePath;
        fs::create_directories(path.parent_path());
        std::ofstream(path) << entry.text;
    }
    const std::vector<fs::path>& folders() const { return folders_; }

private:
    fs::path root_;
    std::vector<fs::path> folders_;
};

struct LookupCase {
    const char* what;
    std::vector<EntryFile> files;
    std::string className;
    std::string instance;
    std::optional<std::string> expected;
};

class DesktopEntryLookupTest : public ::testing::TestWithParam<LookupCase> {};

TEST_P(DesktopEntryLookupTest, FindsTheDisplayName) {
    Folders folders;
    for (const auto& file : GetParam().files) folders.write(file);
    DesktopEntryIndex index(folders.folders());
    EXPECT_EQ(index.nameFor(GetParam().className, GetParam().instance), GetParam().expected)
        << GetParam().what;
}

// The tests run with LANG and LC_ALL set to en_US.UTF-8.
INSTANTIATE_TEST_SUITE_P(
    Entries, DesktopEntryLookupTest,
    ::testing::Values(
        LookupCase{"StartupWMClass matches the class, ignoring case",
                   {{0, "notes.desktop", application("Notes Deluxe", "StartupWMClass=NOTESDX\n")}},
                   "NotesDx",
                   "notes-dx",
                   "Notes Deluxe"},
        LookupCase{"StartupWMClass matches the instance",
                   {{0, "notes.desktop", application("Notes Deluxe", "StartupWMClass=notes-dx\n")}},
                   "NotesDx",
                   "notes-dx",
                   "Notes Deluxe"},
        LookupCase{"StartupWMClass wins over a matching id",
                   {{0, "term.desktop", application("Old Term")},
                    {0, "newterm.desktop", application("New Term", "StartupWMClass=Term\n")}},
                   "Term",
                   "term",
                   "New Term"},
        LookupCase{"the id matches the class, ignoring case",
                   {{1, "org.example.Viewer.desktop", application("Viewer")}},
                   "org.example.viewer",
                   "viewer",
                   "Viewer"},
        LookupCase{"the id matches the instance",
                   {{1, "sketchpad.desktop", application("Sketch Pad")}},
                   "Sketchpad-bin",
                   "sketchpad",
                   "Sketch Pad"},
        LookupCase{"ids of entries in subfolders join the folders with dashes",
                   {{1, "kde/konsole.desktop", application("Konsole")}},
                   "kde-konsole",
                   "",
                   "Konsole"},
        LookupCase{
            "an earlier folder overrides a later one",
            {{0, "app.desktop", application("Mine")}, {1, "app.desktop", application("System")}},
            "app",
            "",
            "Mine"},
        LookupCase{"a hidden entry removes the application from later folders",
                   {{0, "app.desktop", application("Mine", "Hidden=true\n")},
                    {1, "app.desktop", application("System")}},
                   "app",
                   "",
                   std::nullopt},
        LookupCase{"links are not applications",
                   {{0, "site.desktop", "[Desktop Entry]\nType=Link\nName=Site\nURL=http://x\n"}},
                   "site",
                   "",
                   std::nullopt},
        LookupCase{
            "the locale's country name beats the language name",
            {{0, "paint.desktop",
              application("Color Paint", "Name[en]=Colour Paint\nName[en_US]=Color Paint US\n")}},
            "paint",
            "",
            "Color Paint US"},
        LookupCase{"the language name beats the plain name",
                   {{0, "paint.desktop",
                     application("Color Paint", "Name[de]=Farbe\nName[en]=Colour Paint\n")}},
                   "paint",
                   "",
                   "Colour Paint"},
        LookupCase{"names in other groups are not the application's",
                   {{0, "browser.desktop",
                     application("Browser") + "\n[Desktop Action new]\nName=New Window\n"}},
                   "browser",
                   "",
                   "Browser"},
        LookupCase{"escapes are decoded",
                   {{0, "tea.desktop", application("Tea\\sTime")}},
                   "tea",
                   "",
                   "Tea Time"},
        LookupCase{"files that are not desktop entries are ignored",
                   {{0, "notes.txt", application("Notes")}},
                   "notes",
                   "",
                   std::nullopt},
        LookupCase{
            "nothing matches", {{0, "a.desktop", application("A")}}, "B", "b", std::nullopt}));

TEST(DesktopEntryIndexTest, SeesEntriesInstalledAfterTheFirstLookup) {
    Folders folders;
    DesktopEntryIndex index(folders.folders());
    ASSERT_EQ(index.nameFor("later", ""), std::nullopt);
    folders.write({1, "later.desktop", application("Installed Later")});
    // Make the change visible even if it fell within the file system's
    // timestamp granularity of the first lookup.
    const fs::path folder = folders.folders()[1];
    fs::last_write_time(folder, fs::last_write_time(folder) + std::chrono::seconds(1));
    EXPECT_EQ(index.nameFor("later", ""), "Installed Later");
}

TEST(DesktopEntryIndexTest, SkipsBrokenLinks) {
    Folders folders;
    // Several, so that whatever order the folder lists them in, some come
    // before the good entry.
    for (int i = 0; i < 6; ++i) {
        fs::create_symlink("/nonexistent/gone.desktop",
                           folders.folders()[0] / ("gone" + std::to_string(i) + ".desktop"));
    }
    folders.write({0, "good.desktop", application("Good")});
    DesktopEntryIndex index(folders.folders());
    EXPECT_EQ(index.nameFor("good", ""), "Good");
}

TEST(DesktopEntryIndexTest, AnswersFromMissingFolders) {
    DesktopEntryIndex index({"/nonexistent/applications"});
    EXPECT_EQ(index.nameFor("anything", "anything"), std::nullopt);
}

struct LocaleCase {
    const char* lcAll;
    const char* lang;
    std::vector<std::string> expected;
};

class LocaleSuffixTest : public ::testing::TestWithParam<LocaleCase> {};

TEST_P(LocaleSuffixTest, FollowsTheDesktopEntryOrder) {
    testing::ScopedEnv env;
    env.set("LC_ALL", GetParam().lcAll);
    env.set("LC_MESSAGES", nullptr);
    env.set("LANG", GetParam().lang);
    EXPECT_EQ(DesktopEntryIndex::localeSuffixes(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Locales, LocaleSuffixTest,
                         ::testing::Values(LocaleCase{"de_DE.UTF-8@euro",
                                                      "fr_FR.UTF-8",
                                                      {"de_DE@euro", "de_DE", "de@euro", "de"}},
                                           LocaleCase{nullptr, "pt_BR.UTF-8", {"pt_BR", "pt"}},
                                           LocaleCase{"", "sr@latin", {"sr@latin", "sr"}},
                                           LocaleCase{nullptr, "fr", {"fr"}},
                                           LocaleCase{"C.UTF-8", "de_DE", {}},
                                           LocaleCase{nullptr, nullptr, {}}));

TEST(DesktopEntryIndexTest, DefaultFoldersFollowTheBaseDirectoryRules) {
    testing::ScopedEnv env;
    env.set("HOME", "/home/someone");
    env.set("XDG_DATA_HOME", "relative/is/ignored");
    env.set("XDG_DATA_DIRS", "/opt/share:relative:/usr/share");
    const std::vector<fs::path> expected{"/home/someone/.local/share/applications",
                                         "/opt/share/applications", "/usr/share/applications"};
    EXPECT_EQ(DesktopEntryIndex::defaultFolders(), expected);

    env.set("XDG_DATA_HOME", "/data");
    env.set("XDG_DATA_DIRS", nullptr);
    const std::vector<fs::path> defaults{"/data/applications", "/usr/local/share/applications",
                                         "/usr/share/applications"};
    EXPECT_EQ(DesktopEntryIndex::defaultFolders(), defaults);
}

}  // namespace
}  // namespace pelliwig
