#include "core/engine/PhotoPicker.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <string>

#include <unistd.h>

#include "fakes/ScriptedRandom.h"

namespace pelliwig {
namespace {

namespace fs = std::filesystem;

class PhotoPickerTest : public testing::Test {
protected:
    void SetUp() override {
        // ctest runs each test in its own process, in parallel: one folder per process.
        folder = fs::path(testing::TempDir()) / ("photo-picker-" + std::to_string(::getpid()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void touch(const fs::path& name) { std::ofstream(folder / name) << "x"; }
    std::optional<std::string> pick(double u) {
        ScriptedRandom random{u};
        return PhotoPicker::random(folder.string(), random);
    }

    void TearDown() override { fs::remove_all(folder); }

    fs::path folder;
};

TEST_F(PhotoPickerTest, NoFolderNoPhoto) {
    ScriptedRandom random;
    EXPECT_EQ(PhotoPicker::random(std::nullopt, random), std::nullopt);
    EXPECT_EQ(PhotoPicker::random("", random), std::nullopt);
    EXPECT_EQ(PhotoPicker::random((folder / "missing").string(), random), std::nullopt);
    EXPECT_EQ(pick(0.5), std::nullopt);  // empty folder
}

TEST_F(PhotoPickerTest, OnlyPictureAmongOtherFilesIsAlwaysChosen) {
    touch("IMG_0001.JPG");
    touch("notes.txt");
    for (const double u : {0.0, 0.5, 0.99}) EXPECT_EQ(pick(u), (folder / "IMG_0001.JPG").string());
}

TEST_F(PhotoPickerTest, KnownExtensionsInAnyCaseOnlyDirectEntries) {
    for (const char* name :
         {"a.jpeg", "b.PNG", "c.Heic", "d.webp", ".e.jpg", "f.gif", "g.jpg.txt", "jpg"}) {
        touch(name);
    }
    fs::create_directories(folder / "sub");
    touch("sub/h.jpg");

    std::set<std::string> chosen;
    for (int i = 0; i < 50; ++i) chosen.insert(fs::path(*pick(i / 50.0)).filename().string());
    EXPECT_EQ(chosen, (std::set<std::string>{".e.jpg", "a.jpeg", "b.PNG", "c.Heic", "d.webp"}));
}

}  // namespace
}  // namespace pelliwig
