#include "core/engine/UpdateChecker.h"

#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "fakes/CannedHttpClient.h"
#include "fakes/VirtualScheduler.h"

namespace pelliwig {
namespace {

const std::string kFeed = "https://updates.example/version.json";
const std::string kDownload = "https://pelliwig.app/get";

std::string document(const std::string& version) {
    return R"({"version": ")" + version + R"(", "url": ")" + kDownload + R"("})";
}

std::string documentWithUrl(const std::string& url) {
    return R"({"version": "9.0", "url": ")" + url + R"("})";
}

// A valid document padded with trailing blanks to exactly `size` bytes.
std::string paddedDocument(const std::string& version, std::size_t size) {
    std::string text = document(version);
    text.append(size - text.size(), ' ');
    return text;
}

Release release(const std::string& version) {
    return {version, kDownload, std::nullopt};
}

class UpdateCheckerTest : public testing::Test {
protected:
    std::unique_ptr<UpdateChecker> start(const std::string& localVersion) {
        return std::make_unique<UpdateChecker>(http, scheduler, localVersion, kFeed);
    }

    VirtualScheduler scheduler{1'700'000'000};
    CannedHttpClient http{scheduler};
};

TEST_F(UpdateCheckerTest, AsksForTheFeedOnceAtStart) {
    const auto checker = start("1.0");
    const std::vector<HttpRequest> expected{{kFeed, 60, 1 << 20}};
    EXPECT_EQ(http.requests(), expected);
}

TEST_F(UpdateCheckerTest, ChecksAgainEverySixHours) {
    const auto checker = start("1.0");
    scheduler.advance(21599);
    EXPECT_EQ(http.requests().size(), 1u);
    scheduler.advance(1);
    EXPECT_EQ(http.requests().size(), 2u);
    scheduler.advance(3 * 21600);
    EXPECT_EQ(http.requests().size(), 5u);
}

TEST_F(UpdateCheckerTest, CheckOnDemandAsksAgainAtOnce) {
    const auto checker = start("1.0");
    checker->check();
    EXPECT_EQ(http.requests().size(), 2u);
}

TEST_F(UpdateCheckerTest, PublishesOnlyWhenTheAnswerArrives) {
    http.answer(CannedHttpClient::ok(document("2.0")), 5);
    const auto checker = start("1.0");
    scheduler.advance(4.9);
    EXPECT_EQ(checker->available(), std::nullopt);
    scheduler.advance(0.1);
    EXPECT_EQ(checker->available(), release("2.0"));
}

TEST_F(UpdateCheckerTest, ReadsTheBuiltInFeedAndVersionByDefault) {
    http.answer(CannedHttpClient::ok(document(std::string(Brand::version))));
    UpdateChecker checker(http, scheduler);
    scheduler.advance(0);
    ASSERT_EQ(http.requests().size(), 1u);
    EXPECT_EQ(http.requests()[0].url, Brand::versionFeed);
    EXPECT_TRUE(Brand::versionFeed.starts_with("https://"));
    EXPECT_NE(Brand::version, "0");  // the build passes the project's version
    EXPECT_EQ(checker.available(), std::nullopt);
}

struct FirstAnswer {
    std::string name;
    std::string localVersion;
    HttpResult answer;
    std::optional<Release> expected;
};

class UpdateCheckerFirstAnswerTest : public UpdateCheckerTest,
                                     public testing::WithParamInterface<FirstAnswer> {};

TEST_P(UpdateCheckerFirstAnswerTest, Publishes) {
    http.answer(GetParam().answer);
    const auto checker = start(GetParam().localVersion);
    scheduler.advance(0);
    EXPECT_EQ(checker->available(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateCheckerFirstAnswerTest,
    testing::Values(
        FirstAnswer{"Newer", "1.9.3", CannedHttpClient::ok(document("1.10.0")), release("1.10.0")},
        FirstAnswer{"Equal", "2.0", CannedHttpClient::ok(document("2.0")), std::nullopt},
        FirstAnswer{"Older", "2.0", CannedHttpClient::ok(document("1.99")), std::nullopt},
        FirstAnswer{"AnythingBeatsZero", "0", CannedHttpClient::ok(document("0.0.1")),
                    release("0.0.1")},
        // The status is not looked at; the body decides.
        FirstAnswer{"ErrorStatusWithDocument", "1.0", CannedHttpClient::ok(document("2.0"), 500),
                    release("2.0")},
        FirstAnswer{"NoNetwork", "1.0", std::nullopt, std::nullopt}),
    [](const auto& row) { return row.param.name; });

// What a later answer does to a release an earlier check published.
struct LaterAnswer {
    std::string name;
    HttpResult answer;
    std::optional<Release> expected;
};

class UpdateCheckerLaterAnswerTest : public UpdateCheckerTest,
                                     public testing::WithParamInterface<LaterAnswer> {};

TEST_P(UpdateCheckerLaterAnswerTest, KeepsReplacesOrClears) {
    http.answer(CannedHttpClient::ok(document("1.5")));
    const auto checker = start("1.0");
    scheduler.advance(0);
    ASSERT_EQ(checker->available(), release("1.5"));

    http.answer(GetParam().answer);
    scheduler.advance(UpdateChecker::kCheckInterval);
    EXPECT_EQ(http.requests().size(), 2u);
    EXPECT_EQ(checker->available(), GetParam().expected);
}

const auto kKept = release("1.5");
constexpr std::size_t kLimit = UpdateChecker::kMaxDocumentBytes;

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateCheckerLaterAnswerTest,
    testing::Values(
        LaterAnswer{"NoNetwork", std::nullopt, kKept},
        LaterAnswer{"NotJson", CannedHttpClient::ok("<html>502</html>"), kKept},
        LaterAnswer{"CutShort", CannedHttpClient::ok(document("1.6").substr(0, 20)), kKept},
        LaterAnswer{"EmptyBody", CannedHttpClient::ok(""), kKept},
        LaterAnswer{"MissingUrl", CannedHttpClient::ok(R"({"version": "9.0"})"), kKept},
        LaterAnswer{"RelativeUrl", CannedHttpClient::ok(documentWithUrl("/get/9.0")), kKept},
        LaterAnswer{"FileUrl", CannedHttpClient::ok(documentWithUrl("file:///etc/passwd")), kKept},
        LaterAnswer{"OpenerScheme", CannedHttpClient::ok(documentWithUrl("javascript:x()")), kKept},
        LaterAnswer{"OverLimit", CannedHttpClient::ok(paddedDocument("1.6", kLimit + 1)), kKept},
        LaterAnswer{"AtLimit", CannedHttpClient::ok(paddedDocument("1.6", kLimit)), release("1.6")},
        LaterAnswer{"Newer", CannedHttpClient::ok(document("1.6")), release("1.6")},
        LaterAnswer{"SameRelease", CannedHttpClient::ok(document("1.5")), kKept},
        LaterAnswer{"EqualToLocal", CannedHttpClient::ok(document("1.0")), std::nullopt},
        LaterAnswer{"OlderThanLocal", CannedHttpClient::ok(document("0.9")), std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST_F(UpdateCheckerTest, NotifiesOnlyWhenAvailableChanges) {
    const auto checker = start("1.0");
    std::vector<std::optional<Release>> seen;
    const auto connection =
        checker->availableChanged.connect([&](const auto& release) { seen.push_back(release); });

    const std::vector<HttpResult> answers{
        CannedHttpClient::ok(document("1.5")), CannedHttpClient::ok(document("1.5")), std::nullopt,
        CannedHttpClient::ok(document("1.0")), CannedHttpClient::ok(document("0.9"))};
    for (const auto& answer : answers) {
        http.answer(answer);
        checker->check();
        scheduler.advance(0);
    }
    const std::vector<std::optional<Release>> expected{release("1.5"), std::nullopt};
    EXPECT_EQ(seen, expected);
}

TEST_F(UpdateCheckerTest, LastAnswerToArriveWins) {
    http.answer(CannedHttpClient::ok(document("1.5")), 30000);
    const auto checker = start("1.0");
    http.answer(CannedHttpClient::ok(document("1.6")));
    scheduler.advance(UpdateChecker::kCheckInterval);
    EXPECT_EQ(checker->available(), release("1.6"));
    scheduler.advance(30000 - UpdateChecker::kCheckInterval);
    EXPECT_EQ(checker->available(), release("1.5"));
}

TEST_F(UpdateCheckerTest, AnswerAfterTheCheckerIsGoneIsDropped) {
    http.answer(CannedHttpClient::ok(document("2.0")), 10);
    auto checker = start("1.0");
    int notified = 0;
    const auto connection = checker->availableChanged.connect([&](const auto&) { ++notified; });
    checker.reset();
    scheduler.advance(3 * UpdateChecker::kCheckInterval);
    EXPECT_EQ(notified, 0);
    EXPECT_EQ(http.requests().size(), 1u);  // its timer went with it
}

}  // namespace
}  // namespace pelliwig
