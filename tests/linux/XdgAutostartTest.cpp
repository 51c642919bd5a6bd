#include "linux/xdg/XdgAutostart.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path) << text;
}

std::optional<std::string> valueOf(const std::string& entry, const std::string& key) {
    std::istringstream lines(entry);
    for (std::string line; std::getline(lines, line);) {
        if (line.starts_with(key + "=")) return line.substr(key.size() + 1);
    }
    return std::nullopt;
}

// Reads an Exec value back as a launcher does: string escapes first, then
// quoting, then "%%".
std::vector<std::string> execArguments(const std::string& value) {
    std::string unescaped;
    for (std::size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size() && value[i + 1] == '\\') ++i;
        unescaped += value[i];
    }
    std::vector<std::string> arguments;
    std::string current;
    bool quoted = false;
    for (std::size_t i = 0; i < unescaped.size(); ++i) {
        const char c = unescaped[i];
        if (quoted && c == '\\' && i + 1 < unescaped.size()) {
            current += unescaped[++i];
        } else if (c == '"') {
            quoted = !quoted;
        } else if (c == ' ' && !quoted) {
            arguments.push_back(current);
            current.clear();
        } else if (c == '%' && i + 1 < unescaped.size() && unescaped[i + 1] == '%') {
            current += unescaped[++i];
        } else {
            current += c;
        }
    }
    arguments.push_back(current);
    return arguments;
}

int modeOf(const fs::path& path) {
    struct stat info {};
    ::stat(path.c_str(), &info);
    return static_cast<int>(info.st_mode & 07777);
}

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
    }

private:
    const char* name_;
    std::optional<std::string> value_;
};

// Each test gets its own folder: test cases of one program may run at once
// and share the configuration folder the test runner set.
class XdgAutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* base = std::getenv("XDG_CONFIG_HOME");
        std::string pattern =
            ((base && *base) ? fs::path(base) : fs::temp_directory_path()) / "autostart-XXXXXX";
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { fs::remove_all(folder); }

    fs::path entryIn(const fs::path& configHome) const {
        return configHome / "autostart" / "pelliwig.desktop";
    }

    SavedVariable savedConfigHome{"XDG_CONFIG_HOME"};
    SavedVariable savedHome{"HOME"};
    fs::path folder;
    const fs::path program = "/opt/pelliwig/bin/pelliwig";
};

TEST_F(XdgAutostartTest, RegisterWritesAnEntryStartingTheProgramWithTheFlag) {
    XdgAutostart item(folder, program);
    EXPECT_FALSE(item.isRegistered());
    ASSERT_TRUE(item.registerItem());
    EXPECT_TRUE(item.isRegistered());
    EXPECT_EQ(item.entryPath(), entryIn(folder));

    const auto entry = readFile(entryIn(folder));
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n"));
    EXPECT_EQ(valueOf(entry, "Type"), "Application");
    EXPECT_EQ(valueOf(entry, "Name"), "Zuzi");
    EXPECT_EQ(valueOf(entry, "Icon"), "pelliwig");
    EXPECT_EQ(valueOf(entry, "TryExec"), "/opt/pelliwig/bin/pelliwig");
    EXPECT_EQ(valueOf(entry, "Exec"), "/opt/pelliwig/bin/pelliwig --login-item");
    EXPECT_EQ(valueOf(entry, "Hidden"), std::nullopt);
}

// What the desktops check an entry against; their tool reads it as valid.
TEST_F(XdgAutostartTest, EntryPassesTheDesktopEntryValidator) {
    const auto validator = pelliwig::testing::findProgram("desktop-file-validate");
    if (validator.empty()) GTEST_SKIP() << "desktop-file-validate is not installed";
    XdgAutostart item(folder, "/home/a b/100%/pelliwig");
    ASSERT_TRUE(item.registerItem());
    const auto ended =
        pelliwig::testing::ChildProcess::errors({validator, entryIn(folder).string()});
    EXPECT_EQ(ended.status, 0) << ended.errors;
}

TEST_F(XdgAutostartTest, MakesMissingFoldersOwnerOnlyAndTheEntryReadable) {
    const auto configHome = folder / "not" / "yet";
    XdgAutostart item(configHome, program);
    ASSERT_TRUE(item.registerItem());
    EXPECT_EQ(modeOf(configHome / "autostart"), 0700);
    EXPECT_EQ(modeOf(entryIn(configHome)), 0644);
}

TEST_F(XdgAutostartTest, RegisteringAgainLeavesOneEntryAndNoTemporaryFiles) {
    XdgAutostart item(folder, program);
    ASSERT_TRUE(item.registerItem());
    ASSERT_TRUE(item.registerItem());
    std::vector<fs::path> files;
    for (const auto& file : fs::directory_iterator(folder / "autostart")) files.push_back(file);
    EXPECT_EQ(files, std::vector<fs::path>{entryIn(folder)});
}

TEST_F(XdgAutostartTest, RegisterReplacesAnEntryTheUserSwitchedOff) {
    writeFile(entryIn(folder),
              "[Desktop Entry]\nType=Application\nExec=/old/pelliwig\nHidden=true\n");
    XdgAutostart item(folder, program);
    EXPECT_FALSE(item.isRegistered());
    ASSERT_TRUE(item.registerItem());
    EXPECT_TRUE(item.isRegistered());
    EXPECT_EQ(valueOf(readFile(entryIn(folder)), "Hidden"), std::nullopt);
}

TEST_F(XdgAutostartTest, UnregisterRemovesTheEntry) {
    XdgAutostart item(folder, program);
    ASSERT_TRUE(item.registerItem());
    EXPECT_TRUE(item.unregisterItem());
    EXPECT_FALSE(fs::exists(entryIn(folder)));
    EXPECT_FALSE(item.isRegistered());
    EXPECT_TRUE(item.unregisterItem());  // nothing left to remove is no failure
}

TEST_F(XdgAutostartTest, RegisterFailsWhenTheFolderCannotBeMade) {
    writeFile(folder / "autostart", "a file where the folder should be");
    XdgAutostart item(folder, program);
    EXPECT_FALSE(item.registerItem());
    EXPECT_FALSE(item.isRegistered());
}

TEST_F(XdgAutostartTest, UnregisterFailsWhenTheEntryCannotBeRemoved) {
    fs::create_directories(entryIn(folder) / "in-the-way");
    XdgAutostart item(folder, program);
    EXPECT_FALSE(item.unregisterItem());
}

TEST_F(XdgAutostartTest, AFailedRegisterKeepsTheEarlierEntry) {
    XdgAutostart good(folder, program);
    ASSERT_TRUE(good.registerItem());
    const auto before = readFile(entryIn(folder));
    XdgAutostart bad(folder, "/opt/a=b/pelliwig");
    EXPECT_FALSE(bad.registerItem());
    EXPECT_TRUE(bad.isRegistered());
    EXPECT_EQ(readFile(entryIn(folder)), before);
}

TEST_F(XdgAutostartTest, DefaultsToTheRunningProgramAndTheConfiguredFolder) {
    ::setenv("XDG_CONFIG_HOME", folder.c_str(), 1);
    XdgAutostart item;
    EXPECT_EQ(item.entryPath(), entryIn(folder));
    ASSERT_TRUE(item.registerItem());
    const auto exec = valueOf(readFile(entryIn(folder)), "Exec");
    ASSERT_TRUE(exec);
    const auto arguments = execArguments(*exec);
    ASSERT_EQ(arguments.size(), 2u);
    EXPECT_TRUE(fs::equivalent(arguments[0], "/proc/self/exe"));
    EXPECT_EQ(arguments[1], "--login-item");
}

class ConfigHomeTest : public XdgAutostartTest, public ::testing::WithParamInterface<const char*> {
protected:
    void SetUp() override {
        XdgAutostartTest::SetUp();
        ::setenv("HOME", folder.c_str(), 1);
    }
};

// Unset, empty or relative values fall back to ~/.config.
TEST_P(ConfigHomeTest, FallsBackToTheHomeFolder) {
    if (GetParam()) {
        ::setenv("XDG_CONFIG_HOME", GetParam(), 1);
    } else {
        ::unsetenv("XDG_CONFIG_HOME");
    }
    EXPECT_EQ(XdgAutostart::configHome(), folder / ".config");
}

INSTANTIATE_TEST_SUITE_P(Values, ConfigHomeTest,
                         ::testing::Values(nullptr, "", "relative/config", "./config"));

// A launcher reading the entry back gets exactly the path that was written.
class ExecRoundTripTest : public ::testing::TestWithParam<std::string> {};

TEST_P(ExecRoundTripTest, GivesBackThePath) {
    const auto entry = XdgAutostart::entryText(GetParam());
    ASSERT_TRUE(entry);
    const auto exec = valueOf(*entry, "Exec");
    ASSERT_TRUE(exec);
    const std::vector<std::string> expected{GetParam(), "--login-item"};
    EXPECT_EQ(execArguments(*exec), expected) << *exec;
    // TryExec is a plain string: only its backslashes are escaped.
    const auto tryExec = valueOf(*entry, "TryExec");
    ASSERT_TRUE(tryExec);
    std::string path;
    for (std::size_t i = 0; i < tryExec->size(); ++i) {
        if ((*tryExec)[i] == '\\' && i + 1 < tryExec->size()) ++i;
        path += (*tryExec)[i];
    }
    EXPECT_EQ(path, GetParam()) << *tryExec;
}

const std::vector<std::string> kPaths{
    "/usr/bin/pelliwig",
    "/home/a b/pelliwig",
    "/opt/it's/pelliwig",
    "/opt/$HOME/pelliwig",
    "/opt/back\\slash/pelliwig",
    "/opt/100%/pelliwig",
    "/opt/q\"uote/pelliwig",
    "/opt/`tick`/pelliwig",
    "/opt/a;b&c|d/pelliwig",
    "/opt/~(x)*?#<>/pelliwig",
    "/home/zo\u00eb/\u0924\u0941\u092e/pelliwig",
};

INSTANTIATE_TEST_SUITE_P(Paths, ExecRoundTripTest, ::testing::ValuesIn(kPaths));

struct Quoting {
    std::string argument;
    std::string written;
};

void PrintTo(const Quoting& quoting, std::ostream* out) {
    *out << quoting.argument;
}

class ExecArgumentTest : public ::testing::TestWithParam<Quoting> {};

TEST_P(ExecArgumentTest, QuotesAndEscapes) {
    EXPECT_EQ(XdgAutostart::execArgument(GetParam().argument), GetParam().written);
}

const std::vector<Quoting> kQuotings{
    {"/usr/bin/pelliwig", "/usr/bin/pelliwig"},
    {"/a b", R"("/a b")"},
    {"/a\\b", R"("/a\\\\b")"},  // four: quoting, then string escape
    {"/a$b", R"("/a\\$b")"},
    {"/a\"b", R"("/a\\"b")"},
    {"/a`b", R"("/a\\`b")"},
    {"/a'b", R"("/a'b")"},
    {"/100%", "/100%%"},
    {"/1 00%", R"("/1 00%%")"},
};

INSTANTIATE_TEST_SUITE_P(Arguments, ExecArgumentTest, ::testing::ValuesIn(kQuotings));

// Paths no desktop entry can hold: registration fails instead of writing a
// broken entry.
class UnwritablePathTest : public XdgAutostartTest,
                           public ::testing::WithParamInterface<std::string> {};

TEST_P(UnwritablePathTest, IsRefused) {
    EXPECT_EQ(XdgAutostart::entryText(GetParam()), std::nullopt);
    XdgAutostart item(folder, GetParam());
    EXPECT_FALSE(item.registerItem());
    EXPECT_FALSE(fs::exists(entryIn(folder)));
}

const std::vector<std::string> kUnwritablePaths{
    "pelliwig",
    "bin/pelliwig",
    "",
    "/opt/a=b/pelliwig",
    "/opt/new\nline/pelliwig",
    "/opt/tab\t/pelliwig",
    "/opt/bad\xff/pelliwig",
    "/opt/over\xc0\xaflong/pelliwig",
    "/opt/surrogate\xed\xa0\x80/pelliwig",
    "/opt/cut\xe2\x82",
};

INSTANTIATE_TEST_SUITE_P(Paths, UnwritablePathTest, ::testing::ValuesIn(kUnwritablePaths));

struct ReadBack {
    std::string name;
    std::string entry;
    bool registered;
};

void PrintTo(const ReadBack& readBack, std::ostream* out) {
    *out << readBack.name;
}

class ReadBackTest : public XdgAutostartTest, public ::testing::WithParamInterface<ReadBack> {};

TEST_P(ReadBackTest, HonoursSwitchedOffEntries) {
    writeFile(entryIn(folder), GetParam().entry);
    EXPECT_EQ(XdgAutostart(folder, program).isRegistered(), GetParam().registered);
}

const std::string kEntry = "[Desktop Entry]\nType=Application\nExec=/usr/bin/pelliwig\n";

const std::vector<ReadBack> kReadBacks{
    {"Plain", kEntry, true},
    {"Hidden", kEntry + "Hidden=true\n", false},
    {"HiddenSpaced", kEntry + "Hidden = true\n", false},
    {"HiddenFirst", "[Desktop Entry]\nHidden=true\nType=Application\n", false},
    {"NotHidden", kEntry + "Hidden=false\n", true},
    {"KeysAreCaseSensitive", kEntry + "hidden=true\n", true},
    {"GnomeSwitchedOff", kEntry + "X-GNOME-Autostart-enabled=false\n", false},
    {"GnomeSwitchedOn", kEntry + "X-GNOME-Autostart-enabled=true\n", true},
    {"HiddenInAnotherGroup", kEntry + "[Desktop Action x]\nHidden=true\n", true},
    {"NoEntryGroup", "Type=Application\nHidden=false\n", false},
    {"Empty", "", false},
};

INSTANTIATE_TEST_SUITE_P(Entries, ReadBackTest, ::testing::ValuesIn(kReadBacks),
                         [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
