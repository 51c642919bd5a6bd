#include "desktop/notch/NotchView.h"

#include <cmath>

#include <QAbstractButton>
#include <QAccessible>
#include <QFontMetricsF>
#include <QTemporaryDir>
#include <QTest>
#include <algorithm>

#include "NotchTestSupport.h"
#include "core/notch/BubbleMetrics.h"
#include "core/notch/NotchController.h"
#include "desktop/notch/Bubble.h"
#include "desktop/support/Theme.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

using testing::moment;

const QSizeF kNotch{200, 32};

// A view on a model, with time stepped by hand; answers are offered for
// normal and sticky moments, as the line bank does.
class NotchViewTest : public ::testing::Test {
protected:
    NotchViewTest()
        : sprites_(testing::projectSprites()), view_(model_, kNotch, sprites_, [](const Moment& m) {
              if (m.style == MomentStyle::reaction || m.style == MomentStyle::peek) {
                  return std::vector<Answer>{};
              }
              return std::vector<Answer>{{"Drank", Answer::Tone::good},
                                         {"In 10 min", Answer::Tone::snooze}};
          }) {
        view_.setAnimationClock([this] { return now_; });
        view_.resize(538, 304);
        view_.show();
    }

    void present(const Moment& m) {
        model_.setMoment(m);
        model_.setShown(true, ThemeAnimation::showSpring);
        model_.setBubbleShown(true, ThemeAnimation::showSpring);
        settle();
    }

    void settle(double seconds = 2) {
        now_ += seconds;
        view_.advance();
    }

    Bubble& bubble() { return *view_.bubble(); }
    QList<QAbstractButton*> buttons(const char* name) {
        return view_.findChildren<QAbstractButton*>(name);
    }
    QAbstractButton* visibleButton(const char* name) {
        for (auto* b : buttons(name)) {
            if (b->isVisible()) return b;
        }
        return nullptr;
    }
    // Through the window, as the window system delivers it: the widget under
    // the pointer gets the click first.
    void click(QPoint at) { QTest::mouseClick(view_.windowHandle(), Qt::LeftButton, {}, at); }
    QPoint centreOf(QWidget* w) { return w->mapTo(&view_, w->rect().center()); }

    double now_ = 100;
    NotchModel model_;
    SpriteSheet sprites_;
    NotchView view_;
};

double measured(const QString& text) {
    return QFontMetricsF(Theme::lineFont()).horizontalAdvance(text);
}

TEST_F(NotchViewTest, BubbleWidthFollowsTheRealFont) {
    auto line = moment("Water. Now.", MomentStyle::reaction);
    present(line);
    EXPECT_DOUBLE_EQ(bubble().layout().text.width, std::ceil(measured("Water. Now.")) + 2);
}

struct LongLine {
    const char* name;
    const char* text;
};

class LongLines : public NotchViewTest, public ::testing::WithParamInterface<LongLine> {};

// A line too long for 300 wraps to as many lines as its one-line width needs
// at 300, but evenly: the text is as wide as an even share plus slack, and
// wrapping at that width takes no extra line.
TEST_P(LongLines, WrapToBalancedLines) {
    const QString text = QString::fromUtf8(GetParam().text);
    present(moment(text.toStdString(), MomentStyle::reaction));
    const double oneLine = std::ceil(measured(text)) + 2;
    ASSERT_GT(oneLine, 300);
    const double lines = std::ceil(oneLine / 300);
    const double balanced = std::min(std::ceil(oneLine / lines) + 28, 300.0);
    const auto& layout = bubble().layout();
    EXPECT_DOUBLE_EQ(layout.text.width, balanced);
    // Even shares plus slack mostly wrap to that many lines; a run of long
    // words may push one more, which the bubble's height then holds.
    const double wrapped =
        std::round(layout.text.height / QFontMetricsF(Theme::lineFont()).lineSpacing());
    EXPECT_GE(wrapped, lines);
    EXPECT_LE(wrapped, lines + 1);
    EXPECT_GE(layout.bubble.height, layout.text.y + layout.text.height + 12);
}

INSTANTIATE_TEST_SUITE_P(
    NotchViewTest, LongLines,
    ::testing::Values(
        LongLine{"TwoLines", "Two hours at the screen. Stand up and stretch those shoulders!"},
        LongLine{"ThreeLines",
                 "You have been staring at this screen for two hours straight, so stand up, "
                 "stretch those shoulders and look far away"},
        LongLine{"FourLines",
                 "You have been staring at this screen for two hours straight, so stand up, "
                 "stretch those shoulders and look at something far away for a minute, and "
                 "drink a glass of water while you are at it"}),
    [](const auto& row) { return row.param.name; });

// A word wider than the bubble (a pasted address) breaks inside itself
// rather than running out of the bubble.
TEST_F(NotchViewTest, OverlongWordWrapsInsideTheBubble) {
    const QString address = "https://example.com/" + QString(60, 'w') + "/reminder";
    present(moment(address.toStdString(), MomentStyle::reaction));
    const auto& layout = bubble().layout();
    const double lines = std::ceil((std::ceil(measured(address)) + 2) / layout.text.width);
    const double lineSpacing = QFontMetricsF(Theme::lineFont()).lineSpacing();
    EXPECT_GE(std::round(layout.text.height / lineSpacing), lines);
}

TEST_F(NotchViewTest, ReactionHasNoCloseButtonAndIsNarrower) {
    present(moment("Good girl energy.", MomentStyle::sticky));
    const double withClose = bubble().layout().bubble.width;
    EXPECT_NE(visibleButton("closeButton"), nullptr);
    auto reaction = moment("Good girl energy.", MomentStyle::reaction);
    model_.setMoment(reaction, ThemeAnimation::showSpring);
    settle();
    EXPECT_EQ(visibleButton("closeButton"), nullptr);
    // The sticky moment has answers (200 wide); compare text widths instead.
    EXPECT_DOUBLE_EQ(BubbleMetrics::stackWidth(bubble().layout().text.width, MomentStyle::reaction),
                     bubble().layout().bubble.width - 28);
    EXPECT_GT(withClose, bubble().layout().bubble.width);
    auto normal = moment("Good girl energy.", MomentStyle::normal, ReminderKind::surprise);
    EXPECT_EQ(
        Bubble::measure({normal.line, MomentStyle::normal, false, false, {}}).bubble.width -
            Bubble::measure({normal.line, MomentStyle::reaction, false, false, {}}).bubble.width,
        24);
}

TEST_F(NotchViewTest, PeekShowsNoBubble) {
    present(moment("", MomentStyle::peek, ReminderKind::hover));
    EXPECT_FALSE(bubble().isVisible());
    EXPECT_EQ(view_.paintedRegion().boundingRect(), QRect(0, 0, 200, 32 + 108));
}

TEST_F(NotchViewTest, BubbleArrivesAfterHerAndLeavesFirst) {
    model_.setMoment(moment("Hi"));
    model_.setShown(true, ThemeAnimation::showSpring);
    model_.setBubbleShown(true, ThemeAnimation::showSpring);
    settle(0.1);
    EXPECT_FALSE(bubble().isVisible());  // still in its 0.18 s delay
    settle(1.5);
    EXPECT_TRUE(bubble().isVisible());
    model_.setBubbleShown(false, ThemeAnimation::bubbleOut);
    settle(0.09);
    EXPECT_TRUE(bubble().isVisible());  // fading
    settle(0.1);
    EXPECT_FALSE(bubble().isVisible());
    EXPECT_EQ(view_.paintedRegion().boundingRect().height(), 32 + 108);
}

TEST_F(NotchViewTest, PhotoTakesItsSlot) {
    QTemporaryDir dir;
    QImage picture(640, 480, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    const QString path = dir.filePath("beach.PNG");
    ASSERT_TRUE(picture.save(path, "PNG"));
    auto m = moment("Look at us!", MomentStyle::normal, ReminderKind::photo);
    m.image = path.toStdString();
    present(m);
    ASSERT_TRUE(bubble().layout().photo);
    EXPECT_DOUBLE_EQ(bubble().layout().text.width, 220);
    EXPECT_DOUBLE_EQ(bubble().layout().text.y, 12 + 165 + 10);
}

TEST_F(NotchViewTest, UnreadablePhotoLeavesTheSlotEmpty) {
    auto m = moment("Look at us!", MomentStyle::normal, ReminderKind::photo);
    m.image = "/nonexistent/picture.jpg";
    present(m);
    EXPECT_FALSE(bubble().layout().photo);
    EXPECT_DOUBLE_EQ(bubble().layout().text.width, 220);
}

// What a screen reader finds in the bubble of each kind of moment.
struct ReaderCase {
    std::string name;
    MomentStyle style;
    bool photo;
    std::vector<std::string> buttons;  // the bubble's push buttons, in order
};

class BubbleReaderTest : public NotchViewTest, public ::testing::WithParamInterface<ReaderCase> {};

TEST_P(BubbleReaderTest, IsAnAlertNamedByHerLineHoldingItsButtons) {
    QTemporaryDir dir;
    auto m = moment("Water, now <b>please</b>", GetParam().style);
    if (GetParam().photo) {
        QImage picture(64, 48, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        const QString path = dir.filePath("beach.png");
        ASSERT_TRUE(picture.save(path));
        m.image = path.toStdString();
    }
    present(m);
    QAccessibleInterface* alert = QAccessible::queryAccessibleInterface(&bubble());
    ASSERT_NE(alert, nullptr);
    EXPECT_EQ(alert->role(), QAccessible::AlertMessage);
    EXPECT_EQ(alert->text(QAccessible::Name), "Water, now <b>please</b>");
    std::vector<std::string> buttons;
    QStringList images;
    for (int i = 0; i < alert->childCount(); ++i) {
        QAccessibleInterface* child = alert->child(i);
        if (!child || child->state().invisible) continue;
        if (child->role() == QAccessible::Button) {
            buttons.push_back(child->text(QAccessible::Name).toStdString());
            EXPECT_TRUE(child->state().focusable) << buttons.back();
            EXPECT_NE(child->actionInterface(), nullptr);
        }
        if (child->role() == QAccessible::Graphic) images << child->text(QAccessible::Description);
    }
    std::sort(buttons.begin(), buttons.end());
    auto expected = GetParam().buttons;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(buttons, expected);
    EXPECT_EQ(images, GetParam().photo ? QStringList{"A photo from your folder: beach.png"}
                                       : QStringList{});
}

INSTANTIATE_TEST_SUITE_P(
    Moments, BubbleReaderTest,
    ::testing::Values(
        ReaderCase{"Answers", MomentStyle::normal, false, {"Drank", "In 10 min", "Close"}},
        ReaderCase{"Reaction", MomentStyle::reaction, false, {}},
        ReaderCase{"Photo", MomentStyle::normal, true, {"Drank", "In 10 min", "Close"}}),
    [](const auto& row) { return row.param.name; });

TEST_F(NotchViewTest, ClicksReachTheRightCallback) {
    int dismissed = 0;
    std::vector<Answer> answered;
    model_.onDismiss = [&] { ++dismissed; };
    model_.onAnswer = [&](const Moment& m, const Answer& a) {
        EXPECT_EQ(m.line, "Drink water");
        answered.push_back(a);
    };
    present(moment("Drink water"));
    const auto answers = buttons("answerButton");
    ASSERT_EQ(answers.size(), 2);
    click(centreOf(answers[1]));
    ASSERT_EQ(answered.size(), 1u);
    EXPECT_EQ(answered[0].tone, Answer::Tone::snooze);
    EXPECT_EQ(dismissed, 0);
    click(centreOf(visibleButton("closeButton")));
    EXPECT_EQ(dismissed, 1);
    click(QPoint(100, 100));  // on the box
    EXPECT_EQ(dismissed, 2);
    click(QPoint(520, 290));  // nothing drawn there
    const Rect& text = bubble().layout().text;
    const QPoint onText(int(text.midX()) + Bubble::kMargin, int(text.midY()) + Bubble::kMargin);
    click(bubble().mapTo(&view_, onText));  // the line is not a button
    EXPECT_EQ(dismissed, 2);
    EXPECT_EQ(answered.size(), 1u);
}

// The bubble's left edge and its tail lie over her box; a click there is the
// bubble's, and only the box around the bubble closes the moment.
TEST_F(NotchViewTest, AClickInsideTheBubbleOverHerBoxNeverDismisses) {
    int dismissed = 0;
    model_.onDismiss = [&] { ++dismissed; };
    present(moment("Drink water"));
    const QPoint at = bubble().pos() + QPoint(Bubble::kMargin, Bubble::kMargin);
    const Rect& body = bubble().layout().bubble;
    const Rect& tail = bubble().layout().tail;
    const double boxBottom = kNotch.height() + NotchView::kBoxGrowth;
    ASSERT_LT(at.x() + body.x, kNotch.width());  // the bubble does overlap the box
    const double y = (at.y() + body.y + boxBottom) / 2;
    struct Case {
        const char* where;
        QPointF point;
        int dismissals;
    };
    const Case cases[] = {
        {"its left edge", QPointF(at.x() + body.x + 3, y), 0},
        {"its left third over the box", QPointF(at.x() + body.x + 20, y), 0},
        {"its tail",
         QPointF(at.x() + tail.x + tail.width * 0.47, at.y() + tail.y + tail.height * 0.67), 0},
        // Inside the bubble's widget, but beside the bubble: that is the box.
        {"the box just left of it", QPointF(at.x() + body.x - 4, y), 1},
    };
    for (const auto& c : cases) {
        dismissed = 0;
        click(c.point.toPoint());
        EXPECT_EQ(dismissed, c.dismissals) << c.where;
    }
}

// At the top right she sits at the view's right end and everything beside
// her is mirrored: the bubble overlaps her box by as much from her left, its
// tail points at her from its top-right corner, and the window's shape
// follows; her box still takes the click that dismisses.
TEST_F(NotchViewTest, OpeningLeftMirrorsTheBubble) {
    present(moment("Drink water"));
    const QRect rightwards = view_.paintedRegion().boundingRect();
    const double notchLeft = NotchController::kPanelExtraWidth;
    view_.setOpensLeft(true);
    settle();
    const QPoint at = bubble().pos() + QPoint(Bubble::kMargin, Bubble::kMargin);
    const Rect& body = bubble().layout().bubble;
    EXPECT_NEAR(at.x() + body.width, notchLeft + BubbleMetrics::kLeftOfNotchEdge, 1);
    EXPECT_EQ(at.y(), bubble().pos().y() + Bubble::kMargin);
    const QRegion shape = view_.paintedRegion();
    // The tail's tip, at the top-right corner of its frame, is drawn.
    const Rect& tail = bubble().layout().tail;
    EXPECT_TRUE(
        shape.contains(QPoint(int(at.x() + body.width - tail.x - 2), int(at.y() + tail.y + 2))));
    EXPECT_FALSE(shape.contains(QPoint(int(at.x() + tail.x + 2), int(at.y() + tail.y + 2))));
    // Her box moved to the right end, and the shape is the other one mirrored.
    EXPECT_TRUE(shape.contains(QPoint(int(notchLeft) + 100, 60)));
    EXPECT_FALSE(shape.contains(QPoint(100, 60)));
    EXPECT_EQ(shape.boundingRect().width(), rightwards.width());
    EXPECT_EQ(shape.boundingRect().right(), view_.width() - 1 - rightwards.left());
    int dismissed = 0;
    model_.onDismiss = [&] { ++dismissed; };
    click(QPoint(int(notchLeft) + 100, 60));
    EXPECT_EQ(dismissed, 1);
}

TEST_F(NotchViewTest, BoxClickDismissesAPeek) {
    int dismissed = 0;
    model_.onDismiss = [&] { ++dismissed; };
    present(moment("", MomentStyle::peek));
    click(QPoint(100, 60));
    EXPECT_EQ(dismissed, 1);
}

TEST_F(NotchViewTest, NoCallbacksNoHarm) {
    present(moment("Drink water"));
    click(centreOf(visibleButton("closeButton")));
    click(centreOf(buttons("answerButton").front()));
    SUCCEED();
}

TEST_F(NotchViewTest, MarkupIsShownAsWritten) {
    present(moment("<b>bold</b> &amp;", MomentStyle::reaction));
    EXPECT_DOUBLE_EQ(bubble().layout().text.width, std::ceil(measured("<b>bold</b> &amp;")) + 2);
}

TEST_F(NotchViewTest, BoxGrowsAndShrinksWithHer) {
    present(moment("Hi"));
    EXPECT_EQ(view_.paintedRegion().boundingRect().top(), 0);
    const QRect shown = view_.paintedRegion().boundingRect();
    EXPECT_GT(shown.height(), 32 + 108);  // the bubble reaches further down
    model_.setBubbleShown(false, ThemeAnimation::bubbleOut);
    model_.setShown(false, ThemeAnimation::hideAnimation);
    settle();
    EXPECT_EQ(view_.paintedRegion().boundingRect(), QRect(0, 0, 200, 32));
    EXPECT_FALSE(view_.animating());
}

}  // namespace
}  // namespace pelliwig
