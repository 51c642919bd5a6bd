// Renders moments as they look on screen into gallery/ beside the test
// program (build/tests/gallery), for a person to look at: every style, a
// long wrapped line, a photo, and every face of each appearance in each
// season. The checks are only what a picture can show wrongly at a glance:
// the bubble where it belongs, a sprite in every cell.

#include <QCoreApplication>
#include <QDir>
#include <QLinearGradient>
#include <QPainter>
#include <QTextBoundaryFinder>

#include "NotchTestSupport.h"
#include "core/content/LineBank.h"
#include "core/notch/BubbleMetrics.h"
#include "core/notch/NotchController.h"
#include "core/support/Enum.h"
#include "desktop/notch/NotchView.h"
#include "desktop/support/EmojiText.h"
#include "desktop/support/Theme.h"
#include "fakes/SeededRandom.h"
#include "support/ImageColour.h"

namespace pelliwig {
namespace {

using testing::coloured;

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

const QSizeF kNotch{200, 32};
const QSize kPanel = QSizeF(kNotch.width() + NotchController::kPanelExtraWidth,
                            kNotch.height() + NotchController::kPanelExtraHeight)
                         .toSize();
constexpr int kBackdropMargin = 24;

QDir galleryDir() {
    QDir dir(QDir(QCoreApplication::applicationDirPath()).filePath("gallery"));
    dir.mkpath(".");
    return dir;
}

// A light desktop with a dark top bar, so both the black box and the white
// bubble stand out as they would on a real screen.
QImage backdrop(QSize size) {
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    QPainter p(&image);
    QLinearGradient sky(0, 0, 0, size.height());
    sky.setColorAt(0, QColor(120, 150, 190));
    sky.setColorAt(1, QColor(210, 190, 170));
    p.fillRect(image.rect(), sky);
    p.fillRect(QRect(0, 0, size.width(), int(kNotch.height())), QColor(40, 40, 46));
    return image;
}

// One view showing one moment, settled, drawn over the backdrop.
class Scene {
public:
    Scene(Appearance appearance, std::optional<std::string> season)
        : random_(7),
          bank_(random_),
          sprites_(testing::projectSprites(appearance, std::move(season))),
          view_(model_, kNotch, sprites_,
                [this](const Moment& m) { return bank_.answers(m, Language::english); }) {
        view_.setAnimationClock([this] { return now_; });
        view_.resize(kPanel);
        view_.show();
    }

    QImage render(const Moment& moment) {
        model_.setMoment(moment);
        model_.setShown(true, ThemeAnimation::showSpring);
        model_.setBubbleShown(true, ThemeAnimation::showSpring);
        // As the panel does, the window grows for a bubble taller than usual.
        view_.resize(kPanel.width(), std::max(kPanel.height(), view_.neededHeight()));
        now_ += 3;
        view_.advance();
        QImage image = backdrop(view_.size() + QSize(2 * kBackdropMargin, kBackdropMargin));
        QPainter p(&image);
        p.drawPixmap(kBackdropMargin, 0, view_.grab());
        return image;
    }

private:
    double now_ = 10;
    SeededRandom random_;
    LineBank bank_;
    NotchModel model_;
    SpriteSheet sprites_;
    NotchView view_;
};

Moment moment(std::string line, MomentStyle style, ReminderKind kind, std::optional<Face> face) {
    Moment m = testing::moment(std::move(line), style, kind);
    m.face = face;
    return m;
}

QString photoFile(const QDir& dir) {
    QImage photo(800, 600, QImage::Format_RGB32);
    QPainter p(&photo);
    QLinearGradient sea(0, 0, 0, 600);
    sea.setColorAt(0, QColor(255, 190, 120));
    sea.setColorAt(0.55, QColor(250, 120, 90));
    sea.setColorAt(0.56, QColor(40, 90, 140));
    sea.setColorAt(1, QColor(20, 50, 90));
    p.fillRect(photo.rect(), sea);
    p.setBrush(QColor(255, 230, 150));
    p.setPen(Qt::NoPen);
    p.drawEllipse(QPoint(400, 330), 90, 90);
    const QString path = dir.filePath("sunset-photo.jpg");
    photo.save(path, "JPG");
    return path;
}

bool isBubbleWhite(QRgb pixel) {
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}

struct Shot {
    const char* name;
    Moment moment;
    bool bubble;
};

TEST(NotchViewGalleryTest, EveryStyle) {
    const QDir dir = galleryDir();
    Moment photo = moment("Weekend memory: look at us!", MomentStyle::normal, ReminderKind::photo,
                          Face::mood(Mood::love));
    photo.image = photoFile(dir).toStdString();
    Moment sleeping =
        moment("", MomentStyle::peek, ReminderKind::bedtime, Face::pose(Pose::sleeping));
    sleeping.zzz = true;
    const std::vector<Shot> shots{
        {"normal",
         moment("Water break! Your brain is 75% water, refill it.", MomentStyle::normal,
                ReminderKind::water, std::nullopt),
         true},
        {"reaction",
         moment("Good. Proud of you.", MomentStyle::reaction, ReminderKind::water, std::nullopt),
         true},
        {"sticky",
         moment("Your meeting starts in 2 minutes: Design review", MomentStyle::sticky,
                ReminderKind::calendar, Face::mood(Mood::shocked)),
         true},
        {"cold",
         moment("Oh, now you remember me?", MomentStyle::cold, ReminderKind::surprise,
                Face::pose(Pose::cold)),
         true},
        {"peek", moment("", MomentStyle::peek, ReminderKind::hover, Face::pose(Pose::lookDown)),
         false},
        {"sleeping-peek", sleeping, false},
        {"long-line",
         moment("You have been staring at this screen for two hours straight, so stand up, "
                "stretch those shoulders and look at something far away for a minute",
                MomentStyle::normal, ReminderKind::breaks, Face::mood(Mood::pouty)),
         true},
        {"photo", photo, true},
        {"long-word",
         moment("Your link: https://example.com/reminders/shared/" + std::string(40, 'x'),
                MomentStyle::reaction, ReminderKind::custom, Face::mood(Mood::proud)),
         true},
        {"markup",
         moment("<b>not bold</b> &amp; <i>not italic</i>", MomentStyle::reaction,
                ReminderKind::custom, Face::mood(Mood::smug)),
         true},
    };
    const Point origin = BubbleMetrics::origin({kNotch.width(), kNotch.height()});
    // Inside the rounded rectangle, below its corner and the tail.
    const QPoint inBubble(kBackdropMargin + int(origin.x) + 30, int(origin.y) + 8);
    for (const Shot& shot : shots) {
        Scene scene(Appearance::zuzi, std::nullopt);
        const QImage image = scene.render(shot.moment);
        ASSERT_TRUE(image.save(dir.filePath(QString("style-%1.png").arg(shot.name))));
        EXPECT_EQ(isBubbleWhite(image.pixel(inBubble)), shot.bubble) << shot.name;
    }
}

// A contact sheet per appearance and season: the sixteen faces in two rows
// of eight, each in the box as she appears out of the notch.
QImage faceSheet(Appearance appearance, const std::optional<std::string>& season,
                 std::vector<bool>& drawn) {
    const int cellWidth = int(kNotch.width());
    const int cellHeight = int(kNotch.height() + NotchView::kBoxGrowth) + 8;
    QImage sheet = backdrop(QSize(8 * cellWidth, 2 * cellHeight));
    QPainter p(&sheet);
    int index = 0;
    auto draw = [&](const Face& face) {
        Scene scene(appearance, season);
        const QImage shot = scene.render(moment("", MomentStyle::peek, ReminderKind::hover, face));
        const QRect box(kBackdropMargin, 0, cellWidth, cellHeight);
        const QImage cell = shot.copy(box);
        // Her outline is light; a box with no sprite stays black and grey.
        bool light = false;
        for (int y = int(kNotch.height()); y < cellHeight - 8 && !light; y += 2) {
            for (int x = 0; x < cellWidth && !light; x += 2) light = qGray(cell.pixel(x, y)) > 150;
        }
        drawn.push_back(light);
        p.drawImage(QPoint((index % 8) * cellWidth, (index / 8) * cellHeight), cell);
        ++index;
    };
    for (const Mood mood : allCases<Mood>()) draw(Face::mood(mood));
    for (const Pose pose : allCases<Pose>()) draw(Face::pose(pose));
    return sheet;
}

TEST(NotchViewGalleryTest, EveryFaceOfEachAppearance) {
    const QDir dir = galleryDir();
    const std::vector<std::optional<std::string>> seasons{std::nullopt, "winter", "valentine",
                                                          "diwali"};
    for (const Appearance appearance : allCases<Appearance>()) {
        for (const auto& season : seasons) {
            std::vector<bool> drawn;
            const QImage sheet = faceSheet(appearance, season, drawn);
            const QString name = QString("faces-%1%2.png")
                                     .arg(QString::fromStdString(rawString(appearance)),
                                          season ? "-" + QString::fromStdString(*season) : "");
            ASSERT_TRUE(sheet.save(dir.filePath(name)));
            for (std::size_t i = 0; i < drawn.size(); ++i)
                EXPECT_TRUE(drawn[i]) << name.toStdString() << " face " << i;
        }
    }
}

// Every sentence and answer label the line bank has, in both languages.
std::vector<std::string> everyText() {
    const auto& t = LineBank::tables();
    std::vector<std::string> texts;
    auto add = [&](const LineBank::LanguageTable& table) {
        for (const auto& [language, sentences] : table)
            texts.insert(texts.end(), sentences.begin(), sentences.end());
    };
    auto addKeyed = [&](const auto& keyed) {
        for (const auto& [key, table] : keyed) add(table);
    };
    for (const auto* byKind : {&t.english, &t.hinglish})
        for (const auto& [kind, sentences] : *byKind)
            texts.insert(texts.end(), sentences.begin(), sentences.end());
    for (const auto* table : {&t.reactions,      &t.comfort,        &t.snoozed,
                              &t.snoozedAgain,   &t.melt,           &t.ignoredGeneric,
                              &t.grumpyBedtime,  &t.coldMorning,    &t.coldHover,
                              &t.surprise,       &t.hover,          &t.photo,
                              &t.mondayMorning,  &t.weekendMorning, &t.fridayEvening,
                              &t.bedtimeStreak,  &t.waterStreak,    &t.meetingAfter,
                              &t.report,         &t.reportGood,     &t.reportMeh,
                              &t.reportBad,      &t.reportApps,     &t.deadlineSupport,
                              &t.bigDayDone,     &t.countdownToday, &t.countdownTomorrow,
                              &t.countdown,      &t.specialDate,    &t.appProud,
                              &t.appEarnedBreak, &t.appLateNight,   &t.jealousOpen})
        add(*table);
    addKeyed(t.ignored);
    addKeyed(t.appTimeByCategory);
    addKeyed(t.roast);
    addKeyed(t.appSwitch);
    addKeyed(t.appRoast);
    SeededRandom random(1);
    LineBank bank(random);
    for (const auto kind : allCases<ReminderKind>()) {
        for (const auto language : allCases<Language>()) {
            Moment moment;
            moment.kind = kind;
            for (const auto style : allCases<MomentStyle>()) {
                moment.style = style;
                for (const Answer& answer : bank.answers(moment, language))
                    texts.push_back(answer.label);
            }
        }
    }
    return texts;
}

// Each emoji of `text` on its own, without the emoji variation selector.
std::vector<QString> emojiOf(const QString& text) {
    std::vector<QString> found;
    for (const auto& run : EmojiText::emojiRuns(text)) {
        const QString part = text.mid(run.start, run.length);
        QTextBoundaryFinder graphemes(QTextBoundaryFinder::Grapheme, part);
        for (qsizetype at = 0, next; (next = graphemes.toNextBoundary()) > 0; at = next)
            found.push_back(part.mid(at, next - at).remove(QChar(0xFE0F)));
    }
    return found;
}

// Every emoji the lines and buttons use, each drawn as the bubble draws text,
// to gallery/emoji.png: each comes from the colour emoji font, and the ones
// that once came out as black outlines are seen in colour.
TEST(NotchViewGalleryTest, EveryEmojiOfTheLineBankInColour) {
    std::vector<QString> emoji;
    for (const std::string& text : everyText()) {
        for (const QString& one : emojiOf(QString::fromStdString(text))) {
            if (std::find(emoji.begin(), emoji.end(), one) == emoji.end()) emoji.push_back(one);
        }
    }
    const std::vector<QString> named{"❤", "☀", "☕", "😏", "😴"};
    for (const QString& one : named) {
        EXPECT_NE(std::find(emoji.begin(), emoji.end(), one), emoji.end())
            << one.toStdString() << " is in the lines";
    }
    ASSERT_GT(emoji.size(), 20u);

    constexpr int kCell = 36;
    constexpr int kColumns = 16;
    const int rows = int(emoji.size() + kColumns - 1) / kColumns;
    QImage sheet(kColumns * kCell, rows * kCell, QImage::Format_ARGB32_Premultiplied);
    sheet.fill(Qt::white);
    QPainter sheetPainter(&sheet);
    for (std::size_t i = 0; i < emoji.size(); ++i) {
        QImage cell(kCell, kCell, QImage::Format_ARGB32_Premultiplied);
        cell.fill(Qt::white);
        {
            QPainter p(&cell);
            p.setPen(Theme::bubbleText());
            EmojiText::drawLine(p, QRectF(0, 0, kCell, kCell), emoji[i], Theme::lineFont(),
                                Qt::AlignCenter);
        }
        for (const QGlyphRun& run : EmojiText::glyphRuns(emoji[i], Theme::lineFont())) {
            EXPECT_EQ(run.rawFont().familyName(), EmojiText::kEmojiFamily)
                << emoji[i].toStdString();
        }
        if (std::find(named.begin(), named.end(), emoji[i]) != named.end()) {
            EXPECT_TRUE(coloured(cell)) << emoji[i].toStdString() << " is not in colour";
        }
        sheetPainter.drawImage(int(i % kColumns) * kCell, int(i / kColumns) * kCell, cell);
    }
    sheetPainter.end();
    EXPECT_TRUE(sheet.save(galleryDir().filePath("emoji.png")));
}

}  // namespace
}  // namespace pelliwig
