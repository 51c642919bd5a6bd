#include "linux/hardware/ProcMediaDevices.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "support/ScratchFolder.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

// A throwaway folder laid out like /proc.
class FakeProc {
public:
    const fs::path& root() const { return folder_.path(); }

    // An open file of a process, as /proc shows it: a link named after the fd.
    void openFile(const std::string& process, const std::string& fd, const std::string& target) {
        fs::create_directories(root() / process / "fd");
        fs::create_symlink(target, root() / process / "fd" / fd);
    }
    void write(const fs::path& relative, const std::string& text) {
        fs::create_directories((root() / relative).parent_path());
        std::ofstream(root() / relative) << text;
    }
    void folder(const fs::path& relative) { fs::create_directories(root() / relative); }

private:
    testing::ScratchFolder folder_{"proc"};
};

struct OpenFile {
    std::string process;
    std::string fd;
    std::string target;
};

struct CameraCase {
    std::string name;
    std::vector<OpenFile> files;
    std::vector<std::optional<bool>> expected;
};

void PrintTo(const CameraCase& camera, std::ostream* out) {
    *out << camera.name;
}

class CameraScan : public ::testing::TestWithParam<CameraCase> {};

TEST_P(CameraScan, AnswersWhetherAVideoNodeIsOpen) {
    FakeProc proc;
    proc.folder("");
    for (const auto& file : GetParam().files) proc.openFile(file.process, file.fd, file.target);
    EXPECT_EQ(ProcMediaDevices(proc.root()).cameras(), GetParam().expected);
}

const std::vector<std::optional<bool>> kRunning{true};
const std::vector<std::optional<bool>> kIdle{false};

INSTANTIATE_TEST_SUITE_P(
    Cases, CameraScan,
    ::testing::Values(CameraCase{"NoProcesses", {}, kIdle},
                      CameraCase{"OtherFiles",
                                 {{"1", "0", "/dev/null"},
                                  {"1", "1", "/dev/pts/0"},
                                  {"1", "3", "socket:[4242]"},
                                  {"17", "5", "/dev/media0"},
                                  {"17", "6", "/dev/v4l-subdev0"},
                                  {"17", "7", "/dev/videodisk"},
                                  {"17", "8", "/home/me/dev/video0"}},
                                 kIdle},
                      CameraCase{"VideoNodeOpen",
                                 {{"1", "0", "/dev/null"}, {"4711", "12", "/dev/video0"}},
                                 kRunning},
                      CameraCase{"HighNumberedNode", {{"300", "3", "/dev/video12"}}, kRunning},
                      // "self" and other names are not processes (self repeats one that is).
                      CameraCase{"NonNumericEntriesIgnored",
                                 {{"self", "3", "/dev/video0"}, {"12ab", "3", "/dev/video0"}},
                                 kIdle}),
    [](const auto& row) { return row.param.name; });

TEST(CameraScanTest, SkipsUnreadableProcessesAndGoesOn) {
    FakeProc proc;
    proc.folder("5");                    // ended between listing and reading
    proc.write("6/fd", "not a folder");  // another user's, as far as we can tell
    proc.openFile("7", "3", "/dev/video0");
    EXPECT_EQ(ProcMediaDevices(proc.root()).cameras(), kRunning);
}

TEST(CameraScanTest, UnreadableProcessesAloneMeanIdle) {
    FakeProc proc;
    proc.folder("5");
    proc.write("6/fd", "");
    EXPECT_EQ(ProcMediaDevices(proc.root()).cameras(), kIdle);
}

TEST(CameraScanTest, NoProcessListMeansNoCameraAnswered) {
    EXPECT_TRUE(ProcMediaDevices("/nonexistent/pelliwig-proc").cameras().empty());
}

TEST(CameraScanTest, ProcessesOfTheRealSystemCanBeScanned) {
    // This process is visible, so the real scan gives an answer.
    EXPECT_TRUE(ProcMediaDevices().anyVideoDeviceOpen().has_value());
}

struct SoundCase {
    std::string name;
    std::vector<std::pair<std::string, std::string>> statusFiles;  // path under asound, text
    std::optional<bool> expected;
};

void PrintTo(const SoundCase& sound, std::ostream* out) {
    *out << sound.name;
}

class CaptureScan : public ::testing::TestWithParam<SoundCase> {};

TEST_P(CaptureScan, AnswersWhetherACaptureStreamRuns) {
    FakeProc proc;
    proc.folder("asound");
    for (const auto& [path, text] : GetParam().statusFiles) proc.write("asound/" + path, text);
    EXPECT_EQ(ProcMediaDevices(proc.root()).defaultInputRunning(), GetParam().expected);
}

const std::string kRunningStatus = "state: RUNNING\nowner_pid   : 812\ntrigger_time: 52.1\n";
const std::string kPreparedStatus = "state: PREPARED\nowner_pid   : 812\n";
const std::string kClosed = "closed\n";

INSTANTIATE_TEST_SUITE_P(
    Cases, CaptureScan,
    ::testing::Values(
        SoundCase{"NoCards", {}, std::nullopt},
        SoundCase{"Running", {{"card0/pcm0c/sub0/status", kRunningStatus}}, true},
        SoundCase{"Prepared", {{"card0/pcm0c/sub0/status", kPreparedStatus}}, false},
        SoundCase{"Closed", {{"card0/pcm0c/sub0/status", kClosed}}, false},
        SoundCase{
            "PlaybackIsNotCapture",
            {{"card0/pcm0p/sub0/status", kRunningStatus}, {"card0/pcm0c/sub0/status", kClosed}},
            false},
        SoundCase{"PlaybackOnly", {{"card0/pcm0p/sub0/status", kRunningStatus}}, std::nullopt},
        SoundCase{"LaterCardRunning",
                  {{"card0/pcm0c/sub0/status", kClosed},
                   {"card1/pcm0c/sub0/status", kClosed},
                   {"card1/pcm2c/sub1/status", kRunningStatus}},
                  true},
        // ALSA also lists each card under its name, as a link to the same card.
        SoundCase{"CardNamesIgnored", {{"PCH/pcm0c/sub0/status", kRunningStatus}}, std::nullopt},
        SoundCase{"NoStatusFile", {{"card0/pcm0c/sub0/info", "card: 0\n"}}, std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST(CaptureScanTest, NoSoundSystemMeansNoAnswer) {
    FakeProc proc;
    proc.folder("1");
    EXPECT_EQ(ProcMediaDevices(proc.root()).defaultInputRunning(), std::nullopt);
}

}  // namespace
}  // namespace pelliwig
