#include <gtest/gtest.h>

#include "ReminderEngineWorld.h"
#include "core/content/LineBank.h"
#include "core/notch/NotificationPresenter.h"
#include "fakes/RecordingNotifications.h"

namespace pelliwig {
namespace {

// The real engine and controller speaking through notifications, with the
// same answers her bubble would offer.
class NotificationPresenterTest : public ::testing::Test {
protected:
    NotificationPresenterTest() : world(berlin(12, 10)) {
        world.idle.idle = 100000;
        world.start();
    }

public:
    std::vector<Answer> answersFor(const Moment& moment) const {
        return buttons.answers(moment, Language::english);
    }

    // The user, at the notification that is out, and her time running out.
    void answerFirst() { notifications.onAnswer(0); }
    void dismiss() {
        notifications.out.reset();
        notifications.onDismiss();
    }
    void runOut() { world.scheduler.advance(60); }

protected:
    ReminderEngineWorld world;
    LineBank buttons{world.random};
    RecordingNotifications notifications;
    NotificationPresenter presenter{world.notch.model(), notifications,
                                    [this](const Moment& moment) { return answersFor(moment); }};
};

// Each way the user or her time can end it, and what it leaves behind.
struct EndCase {
    const char* name;
    void (NotificationPresenterTest::*end)();
    int waterAcks;
    int ignored;
    bool reactionOut;  // her answer to the answer replaces it
};

class EndTest : public NotificationPresenterTest, public ::testing::WithParamInterface<EndCase> {};

// Her line goes out with the answers her bubble would offer, and they count
// as they do there.
TEST_P(EndTest, AnswersCountAsInHerBubble) {
    const auto& c = GetParam();
    world.enable({ReminderKind::water});
    world.engine->fire(ReminderEngineWorld::cue(ReminderKind::water));
    const Moment water = *world.shown();
    std::vector<std::string> labels;
    for (const Answer& answer : answersFor(water)) labels.push_back(answer.label);
    ASSERT_FALSE(labels.empty());
    EXPECT_EQ(notifications.out, (Notification{"Zuzi", water.line, labels}));
    const auto before = notifications.shown.size();

    (this->*c.end)();
    const auto& today = world.engine->memory().today();
    EXPECT_EQ(today.waterAcks, c.waterAcks);
    EXPECT_EQ(today.ignored, c.ignored);
    EXPECT_EQ(notifications.out.has_value(), c.reactionOut);
    if (c.reactionOut) {
        EXPECT_EQ(notifications.shown.size(), before + 1);
        EXPECT_TRUE(notifications.out->answers.empty()) << "a reaction asks nothing";
        world.scheduler.advance(60);
        EXPECT_FALSE(notifications.out) << "the reaction goes with her bubble";
    }
}

INSTANTIATE_TEST_SUITE_P(
    Ends, EndTest,
    ::testing::Values(EndCase{"answered", &NotificationPresenterTest::answerFirst, 1, 0, true},
                      EndCase{"dismissed", &NotificationPresenterTest::dismiss, 0, 0, false},
                      EndCase{"ignored", &NotificationPresenterTest::runOut, 0, 1, false}),
    [](const auto& row) { return std::string(row.param.name); });

TEST_F(NotificationPresenterTest, APeekOrAnAnswerOutOfRangeSendsNothing) {
    world.notch.present(Moment{ReminderKind::water, "👀", MomentStyle::peek});
    EXPECT_TRUE(world.shown());
    EXPECT_TRUE(notifications.shown.empty());

    world.engine->preview(ReminderKind::water);
    notifications.onAnswer(99);
    EXPECT_EQ(world.engine->memory().today().waterAcks, 0);
    EXPECT_EQ(notifications.shown.size(), 1u);
}

}  // namespace
}  // namespace pelliwig
