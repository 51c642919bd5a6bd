#include "desktop/support/SpriteSheet.h"

#include <algorithm>
#include <map>

#include <QDir>
#include <QPainter>
#include <QTemporaryDir>

#include "NotchTestSupport.h"
#include "core/notch/SpriteChoice.h"
#include "core/support/Enum.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

// A sheet whose cells are each filled with their own grey level (ordinal × 20
// + 20), drawn at exactly the rectangles the slicer must find.
QImage numberedSheet(int width, int height, std::initializer_list<int> blankCells = {}) {
    QImage sheet(width, height, QImage::Format_ARGB32);
    sheet.fill(Qt::transparent);
    for (int i = 0; i < 8; ++i) {
        if (std::find(blankCells.begin(), blankCells.end(), i) != blankCells.end()) continue;
        const auto c = SpriteChoice::cell(i, width, height);
        const int level = 20 + 20 * i;
        for (int y = c.y; y < c.y + c.height; ++y) {
            for (int x = c.x; x < c.x + c.width; ++x)
                sheet.setPixel(x, y, qRgb(level, level, level));
        }
    }
    return sheet;
}

int levelOf(const QImage& image, int x, int y) {
    return qRed(image.pixel(x, y));
}

class SheetFolder {
public:
    void add(const QString& name, const QImage& image) {
        QDir(dir_.path()).mkpath("portraits");
        ASSERT_TRUE(image.save(dir_.filePath("portraits/" + name)));
    }
    SpriteSheet::Locate locate() {
        return [this](const QString& name) {
            ++lookups;
            return Assets::url(name, {dir_.path()});
        };
    }
    int lookups = 0;

private:
    QTemporaryDir dir_;
};

SpriteSheet::SituationSource fixed(SpriteSheet::Situation* situation) {
    return [situation] { return *situation; };
}

TEST(SpriteSheetTest, SlicesOddSizedSheetsAtRoundedOrigins) {
    SheetFolder folder;
    folder.add("zuzi.png", numberedSheet(1001, 501));
    SpriteSheet::Situation now{Appearance::zuzi, std::nullopt, "2025-6-1"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    for (int i = 0; i < 8; ++i) {
        const QImage cell = sheet.image(Face::mood(static_cast<Mood>(i)));
        ASSERT_EQ(cell.size(), QSize(250, 250)) << i;
        // Every pixel of the cell, corners included, comes from its own cell.
        EXPECT_EQ(levelOf(cell, 0, 0), 20 + 20 * i) << i;
        EXPECT_EQ(levelOf(cell, 249, 249), 20 + 20 * i) << i;
    }
}

// The committed sheets are 8-bit palette PNGs with a transparent entry. The
// palette holds exactly the sheet's colours, so nothing is dithered away.
QImage paletteSheet(int width, int height) {
    QList<QRgb> colours{qRgba(0, 0, 0, 0)};
    for (int i = 0; i < 8; ++i) colours.push_back(qRgb(20 + 20 * i, 20 + 20 * i, 20 + 20 * i));
    return numberedSheet(width, height, {2})
        .convertToFormat(QImage::Format_Indexed8, colours, Qt::ThresholdDither);
}

TEST(SpriteSheetTest, PaletteSheetsLoad) {
    SheetFolder folder;
    folder.add("zuzi.png", paletteSheet(400, 200));
    SpriteSheet::Situation now{Appearance::zuzi, std::nullopt, "2025-6-1"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    const QImage cell = sheet.image(Face::mood(Mood::love));
    ASSERT_FALSE(cell.isNull());
    EXPECT_EQ(cell.format(), QImage::Format_ARGB32_Premultiplied);
    EXPECT_EQ(levelOf(cell, 50, 50), 20 + 20 * 7);
    // The transparent cell reads as missing, so annoyed shows happy.
    EXPECT_EQ(levelOf(sheet.image(Face::mood(Mood::annoyed)), 5, 5), 20);
}

TEST(SpriteSheetTest, SeasonalSheetWhenPresentOtherwisePlain) {
    SheetFolder folder;
    folder.add("mom.png", numberedSheet(400, 200));
    folder.add("mom-winter.png", numberedSheet(400, 200, {1, 2, 3, 4, 5, 6, 7}));
    SpriteSheet::Situation now{Appearance::mom, "winter", "2025-12-31"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    // The winter sheet has only happy: smug falls back to happy from it.
    EXPECT_EQ(levelOf(sheet.image(Face::mood(Mood::smug)), 5, 5), 20);
    now = {Appearance::mom, "valentine", "2026-2-14"};  // no valentine file
    EXPECT_EQ(levelOf(sheet.image(Face::mood(Mood::smug)), 5, 5), 40);
}

struct FallbackCase {
    const char* name;
    Face face;
    int expectedLevel;  // 0 for no picture
};

class Fallback : public ::testing::TestWithParam<FallbackCase> {};

// Moods have no smug (1) or sleepy (4) cell; there is no pose sheet at all.
TEST_P(Fallback, FindsTheNearestPicture) {
    SheetFolder folder;
    folder.add("zuzi.png", numberedSheet(400, 200, {1, 4}));
    SpriteSheet::Situation now{Appearance::zuzi, std::nullopt, "2025-6-1"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    const QImage image = sheet.image(GetParam().face);
    if (GetParam().expectedLevel == 0) {
        EXPECT_TRUE(image.isNull());
    } else {
        ASSERT_FALSE(image.isNull());
        EXPECT_EQ(levelOf(image, 5, 5), GetParam().expectedLevel);
    }
}

INSTANTIATE_TEST_SUITE_P(
    MissingCells, Fallback,
    ::testing::Values(FallbackCase{"MoodPresent", Face::mood(Mood::pouty), 80},
                      FallbackCase{"MoodMissingShowsHappy", Face::mood(Mood::smug), 20},
                      FallbackCase{"PoseShowsItsMood", Face::pose(Pose::bored), 60},
                      FallbackCase{"PoseMoodMissingShowsHappy", Face::pose(Pose::yawn), 20},
                      FallbackCase{"LookShowsHappy", Face::pose(Pose::lookDown), 20}),
    [](const auto& row) { return row.param.name; });

TEST(SpriteSheetTest, NoSheetsNoPictures) {
    SheetFolder folder;
    SpriteSheet::Situation now{Appearance::zuzi, std::nullopt, "2025-6-1"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    EXPECT_TRUE(sheet.image(Face::mood(Mood::happy)).isNull());
    EXPECT_TRUE(sheet.image(Face::pose(Pose::nails)).isNull());
}

TEST(SpriteSheetTest, PoseSheetWinsOverFallback) {
    SheetFolder folder;
    folder.add("zuzi.png", numberedSheet(400, 200));
    QImage poses = numberedSheet(400, 200);
    poses.invertPixels(QImage::InvertRgb);
    folder.add("zuzi-extra.png", poses);
    SpriteSheet::Situation now{Appearance::zuzi, std::nullopt, "2025-6-1"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    EXPECT_EQ(levelOf(sheet.image(Face::pose(Pose::nails)), 5, 5), 255 - (20 + 20 * 5));
}

TEST(SpriteSheetTest, ReloadsOnlyWhenTheKeyChanges) {
    SheetFolder folder;
    folder.add("zuzi.png", numberedSheet(400, 200));
    folder.add("mom.png", numberedSheet(400, 200, {0}));
    SpriteSheet::Situation now{Appearance::zuzi, std::nullopt, "2025-6-1"};
    SpriteSheet sheet(fixed(&now), folder.locate());
    sheet.image(Face::mood(Mood::happy));
    const int afterFirst = folder.lookups;
    sheet.image(Face::mood(Mood::love));
    sheet.image(Face::pose(Pose::cold));
    EXPECT_EQ(folder.lookups, afterFirst);
    EXPECT_EQ(sheet.loadedKey(), "zuzi|-|2025-6-1");
    now.appearance = Appearance::mom;  // the settings changed: the next request sees it
    EXPECT_TRUE(sheet.image(Face::mood(Mood::happy)).isNull());
    EXPECT_GT(folder.lookups, afterFirst);
    EXPECT_EQ(sheet.loadedKey(), "mom|-|2025-6-1");
}

TEST(SpriteSheetTest, ProjectSheetsHaveEveryFace) {
    for (const Appearance appearance : allCases<Appearance>()) {
        for (const auto& season :
             {std::optional<std::string>{}, std::optional<std::string>{"winter"},
              std::optional<std::string>{"valentine"}, std::optional<std::string>{"diwali"}}) {
            auto sheet = testing::projectSprites(appearance, season);
            for (const Mood mood : allCases<Mood>()) {
                EXPECT_EQ(sheet.image(Face::mood(mood)).size(), QSize(256, 256))
                    << rawValue(appearance) << " " << rawValue(mood);
            }
            for (const Pose pose : allCases<Pose>()) {
                EXPECT_EQ(sheet.image(Face::pose(pose)).size(), QSize(256, 256))
                    << rawValue(appearance) << " " << rawValue(pose);
            }
        }
    }
}

}  // namespace
}  // namespace pelliwig
