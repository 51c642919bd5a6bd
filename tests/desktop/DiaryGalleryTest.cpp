// Draws her diary over three weeks of a plausible life, light and dark, at
// 100 % and 200 %, into gallery/ beside the test program (build/tests/gallery),
// for a person to look at. The checks are what a picture can show wrongly at
// a glance: the window's colours are the palette's, every chart fits the
// window's width, and a scaled picture is drawn at twice the pixels.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QImage>
#include <QPalette>
#include <QScrollArea>
#include <QStyle>
#include <QStyleFactory>

#include "NotchTestSupport.h"
#include "desktop/diary/DiaryChartView.h"
#include "desktop/diary/DiaryWindow.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

const auto* const qt = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

constexpr double kDay = 86400;
constexpr double kMinute = 60;
constexpr Instant kThursday = 1742483400;  // 2025-03-20 16:10 in Berlin

QDir galleryDir() {
    QDir dir(QDir(QCoreApplication::applicationDirPath()).filePath("gallery"));
    dir.mkpath(".");
    return dir;
}

QPalette darkPalette() {
    QPalette p;
    const QColor window(30, 30, 34), base(44, 44, 50), text(232, 232, 236);
    p.setColor(QPalette::Window, window);
    p.setColor(QPalette::WindowText, text);
    p.setColor(QPalette::Base, base);
    p.setColor(QPalette::AlternateBase, window);
    p.setColor(QPalette::Text, text);
    p.setColor(QPalette::Button, QColor(52, 52, 58));
    p.setColor(QPalette::ButtonText, text);
    p.setColor(QPalette::Highlight, QColor(242, 123, 165));
    p.setColor(QPalette::HighlightedText, Qt::black);
    p.setColor(QPalette::PlaceholderText, QColor(150, 150, 158));
    p.setColor(QPalette::Light, QColor(70, 70, 78));
    p.setColor(QPalette::Midlight, QColor(60, 60, 66));
    p.setColor(QPalette::Mid, QColor(40, 40, 44));
    p.setColor(QPalette::Dark, QColor(20, 20, 22));
    p.setColor(QPalette::Shadow, Qt::black);
    return p;
}

class DiaryGalleryTest : public ::testing::Test {
protected:
    DiaryGalleryTest() {
        // Workdays of five to eight hours, shorter weekends, water most
        // days, bedtime kept about half the time, and the usual apps.
        for (int ago = 20; ago >= 1; --ago) {
            Memory::DayStats& day = memory.state.days[clock.dayKey(kThursday - ago * kDay)];
            const int weekday = clock.weekday(kThursday - ago * kDay);
            const bool weekend = weekday == 1 || weekday == 7;
            if (ago == 9) continue;  // a day away from the computer
            day.activeSeconds = (weekend ? 90 + ago * 7 % 80 : 300 + (ago * 37) % 190) * kMinute;
            day.longestSitting = (35 + (ago * 23) % 90) * kMinute;
            day.waterAcks = weekend ? 1 : 2 + ago % 4;
            day.mealAcks = 1 + ago % 3;
            day.bedtimeAck = ago % 2 == 0;
            day.bedtimeSnoozed = ago % 3 == 0;
            day.ignored = ago % 5 == 0 ? 1 : 0;
            day.appSeconds = std::map<std::string, double>{
                {"coding", day.activeSeconds * (weekend ? 0.1 : 0.45)},
                {"mail", day.activeSeconds * 0.15},
                {"browsing", day.activeSeconds * 0.15},
                {"video", day.activeSeconds * (weekend ? 0.5 : 0.08)},
                {"social", day.activeSeconds * 0.07},
                {"writing", day.activeSeconds * 0.05}};
        }
        memory.recordTick(2 * 3600, 48 * kMinute, AppBucket::coding);
        memory.recordAck(ReminderKind::water);
        memory.recordAck(ReminderKind::water);
        QApplication::setStyle(QStyleFactory::create("Fusion"));
    }

    // The whole window, tall enough that nothing is scrolled away, drawn at
    // `scale` pixels per point.
    QImage render(DiaryWindow& window, const QPalette& palette, int scale) {
        window.setPalette(palette);
        window.showAndRaise();
        auto* scroll = window.findChild<QScrollArea*>("diaryScroll");
        window.resize(760, scroll->widget()->sizeHint().height());
        QApplication::processEvents();
        QImage image(window.size() * scale, QImage::Format_ARGB32_Premultiplied);
        image.setDevicePixelRatio(scale);
        image.fill(palette.color(QPalette::Window));
        window.render(&image);
        return image;
    }

    void save(const QImage& image, const QString& name) {
        const QString path = galleryDir().filePath(name + ".png");
        ASSERT_TRUE(image.save(path)) << path.toStdString();
    }

    VirtualScheduler scheduler{kThursday};
    Clock clock{scheduler};
    MemoryStore store;
    Memory memory{store, clock};
    SpriteSheet sprites = testing::projectSprites();
};

struct LookCase {
    const char* name;
    bool dark;
    int scale;
};

class DiaryGalleryLookTest : public DiaryGalleryTest,
                             public ::testing::WithParamInterface<LookCase> {};

TEST_P(DiaryGalleryLookTest, DrawsTheWindow) {
    const auto& c = GetParam();
    const QPalette palette = c.dark ? darkPalette() : QApplication::style()->standardPalette();
    for (const int span : {Diary::kWeek, Diary::kLongest}) {
        DiaryWindow window(
            [this](int days) {
                return diaryOf(memory.state, clock, days, Language::english, "en_GB");
            },
            [this](const Face& face) { return sprites.image(face); }, scheduler);
        window.setSpan(span);
        const QImage image = render(window, palette, c.scale);
        EXPECT_EQ(image.width(), 760 * c.scale);
        // The window and a chart's card are the palette's colours.
        const QColor corner = image.pixelColor(4 * c.scale, 4 * c.scale);
        EXPECT_EQ(corner, palette.color(QPalette::Window));
        auto* hours = window.charts().front();
        const QPoint inside = hours->mapTo(&window, QPoint(hours->width() - 8, 8));
        EXPECT_EQ(image.pixelColor(inside * c.scale), palette.color(QPalette::Base));
        EXPECT_EQ(DiaryColours::from(hours->palette()).dark, c.dark);
        // Every chart fits the window's width.
        for (auto* chart : window.charts()) {
            const QRect box(chart->mapTo(&window, QPoint(0, 0)), chart->size());
            EXPECT_LE(box.right(), window.width()) << int(chart->chart());
            EXPECT_LE(chart->minimumSizeHint().width(), chart->width()) << int(chart->chart());
        }
        save(image, QString("diary-%1%2%3")
                        .arg(c.dark ? "dark" : "light")
                        .arg(span == Diary::kWeek ? "" : "-21")
                        .arg(c.scale == 1 ? "" : "@2x"));
    }
}

INSTANTIATE_TEST_SUITE_P(Looks, DiaryGalleryLookTest,
                         ::testing::Values(LookCase{"Light", false, 1}, LookCase{"Dark", true, 1},
                                           LookCase{"Light200", false, 2},
                                           LookCase{"Dark200", true, 2}),
                         [](const auto& row) { return std::string(row.param.name); });

}  // namespace
}  // namespace pelliwig
