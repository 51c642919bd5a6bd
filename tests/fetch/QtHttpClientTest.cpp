#include "fetch/QtHttpClient.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QThread>

#include <optional>
#include <string>

#include "core/engine/UpdateChecker.h"
#include "fakes/VirtualScheduler.h"
#include "support/LoopbackHttpServer.h"
#include "support/QtCoreApplication.h"

namespace pelliwig {
namespace {

using testing::Answer;
using testing::fetch;
using testing::kPatienceMs;
using testing::kSilence;
using testing::response;
using testing::unannounced;

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtCoreApplication);

class QtHttpClientTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(server_.listening()); }

    HttpRequest request(const std::string& path, std::size_t limit = 1 << 20,
                        double timeout = 60) const {
        return HttpRequest{server_.url(path), timeout, limit};
    }

    testing::LoopbackHttpServer server_;
    QtHttpClient client_;
};

struct FetchCase {
    std::string name;
    Answer answer;
    std::size_t limit;
    HttpResult expected;
};

void PrintTo(const FetchCase& fetchCase, std::ostream* out) {
    *out << fetchCase.name;
}

const std::string kDocument = R"({"version": "1.2.0", "url": "https://example.org/r"})";
const std::string kTenBytes = "0123456789";

class QtHttpFetchTest : public QtHttpClientTest, public ::testing::WithParamInterface<FetchCase> {};

TEST_P(QtHttpFetchTest, GivesTheBodyOrNothing) {
    server_.answer("/version.json", GetParam().answer);
    EXPECT_EQ(fetch(client_, request("/version.json", GetParam().limit)), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Answers, QtHttpFetchTest,
    ::testing::Values(
        FetchCase{"Ok", {response(200, kDocument)}, 1 << 20, HttpResponse{200, kDocument}},
        // The status is the caller's to judge; the body still arrived.
        FetchCase{"NotFound", {response(404, "gone")}, 1 << 20, HttpResponse{404, "gone"}},
        FetchCase{"ServerError", {response(503, "busy")}, 1 << 20, HttpResponse{503, "busy"}},
        FetchCase{"EmptyBody", {response(204, "")}, 1 << 20, HttpResponse{204, ""}},
        FetchCase{"BodyAtTheLimit", {response(200, kTenBytes)}, 10, HttpResponse{200, kTenBytes}},
        FetchCase{"AnnouncedOverTheLimit", {response(200, kTenBytes)}, 9, std::nullopt},
        FetchCase{
            "UnannouncedAtTheLimit", {unannounced(kTenBytes)}, 10, HttpResponse{200, kTenBytes}},
        FetchCase{"UnannouncedOverTheLimit", {unannounced(kTenBytes + "!")}, 10, std::nullopt},
        FetchCase{"CutOff",
                  {"HTTP/1.1 200 OK\r\nContent-Length: 100\r\nConnection: close\r\n\r\npartial"},
                  1 << 20,
                  std::nullopt},
        FetchCase{"NotHttp", {"SSH-2.0-OpenSSH_9.2\r\n\r\n"}, 1 << 20, std::nullopt},
        FetchCase{"HungUpWithoutAWord", {""}, 1 << 20, std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST_F(QtHttpClientTest, SilenceEndsAtTheTimeout) {
    server_.answer("/slow", kSilence);
    EXPECT_EQ(fetch(client_, request("/slow", 1 << 20, 0.2)), std::nullopt);
}

// A dribble keeps the line busy; the timeout bounds the whole transfer.
TEST_F(QtHttpClientTest, ADribbleEndsAtTheTimeoutToo) {
    server_.answer("/dribble", {"HTTP/1.1 200 OK\r\nContent-Length: 1000\r\n\r\nx", false});
    EXPECT_EQ(fetch(client_, request("/dribble", 1 << 20, 0.2)), std::nullopt);
}

// Announcing a huge body ends the transfer at once, long before the timeout.
TEST_F(QtHttpClientTest, AHugeAnnouncementFailsWithoutWaiting) {
    server_.answer("/huge", {"HTTP/1.1 200 OK\r\nContent-Length: 5000000000\r\n\r\n{", false});
    EXPECT_EQ(fetch(client_, request("/huge")), std::nullopt);
}

TEST_F(QtHttpClientTest, NobodyListening) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const auto port = closed.serverPort();
    closed.close();
    const HttpRequest request{"http://127.0.0.1:" + std::to_string(port) + "/version.json"};
    EXPECT_EQ(fetch(client_, request), std::nullopt);
}

TEST_F(QtHttpClientTest, EveryRequestGoesToTheOriginAndAsksForNoCachedCopy) {
    server_.answer("/version.json",
                   {"HTTP/1.1 200 OK\r\nCache-Control: max-age=86400\r\nContent-Length: 3\r\n"
                    "Connection: close\r\n\r\none"});
    ASSERT_EQ(fetch(client_, request("/version.json")), (HttpResponse{200, "one"}));
    server_.answer("/version.json", {response(200, "two")});
    EXPECT_EQ(fetch(client_, request("/version.json")), (HttpResponse{200, "two"}));
    ASSERT_EQ(server_.heads().size(), 2u);
    for (const auto& head : server_.heads()) {
        EXPECT_EQ(head.rfind("GET /version.json HTTP/1.1\r\n", 0), 0u) << head;
        EXPECT_NE(head.find("\r\nCache-Control: no-cache"), std::string::npos) << head;
    }
}

// Other schemes could read local files or carry their own data; they are
// refused unread.
class QtHttpSchemeTest : public ::testing::TestWithParam<std::string> {};

TEST_P(QtHttpSchemeTest, OnlyWebAddressesAreFetched) {
    QtHttpClient client;
    EXPECT_EQ(fetch(client, HttpRequest{GetParam()}), std::nullopt);
}

INSTANTIATE_TEST_SUITE_P(Addresses, QtHttpSchemeTest,
                         ::testing::Values("file:///etc/hostname", "data:,{}", "qrc:/version.json",
                                           "ftp://127.0.0.1/version.json", "not an address", "",
                                           "http:///no-host"));

TEST_F(QtHttpClientTest, CompletesLaterOnTheMainThread) {
    server_.answer("/version.json", {response(200, kDocument)});
    for (const std::string& url : {server_.url("/version.json"), std::string("file:///x")}) {
        bool done = false;
        bool onMainThread = false;
        client_.get(HttpRequest{url}, [&](HttpResult) {
            done = true;
            onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
        });
        EXPECT_FALSE(done) << url << ": completed inside get()";
        ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, kPatienceMs)) << url;
        EXPECT_TRUE(onMainThread) << url;
    }
}

TEST_F(QtHttpClientTest, ADestroyedClientCompletesNothing) {
    server_.answer("/slow", kSilence);
    int completions = 0;
    {
        QtHttpClient doomed;
        doomed.get(request("/slow", 1 << 20, 0.05), [&](HttpResult) { ++completions; });
        ASSERT_TRUE(QTest::qWaitFor([&] { return server_.heads().size() == 1; }, kPatienceMs));
    }
    // The event loop runs on until this request's longer timeout, well past
    // the abandoned one's.
    EXPECT_EQ(fetch(client_, request("/slow", 1 << 20, 0.2)), std::nullopt);
    EXPECT_EQ(completions, 0);
}

// The update checker over this client and a real server: what each answer
// leaves published, starting from a published 3.0.
struct CheckCase {
    std::string name;
    Answer answer;
    std::optional<Release> published;
};

void PrintTo(const CheckCase& checkCase, std::ostream* out) {
    *out << checkCase.name;
}

const Release kPublished{"3.0", "https://example.org/3.0", "Earlier"};

// Counts completed requests, so a test knows when a check has run its course
// even when it changed nothing.
class CountingClient final : public HttpClient {
public:
    explicit CountingClient(HttpClient& inner) : inner_(inner) {}
    void get(const HttpRequest& request, Completion done) override {
        inner_.get(request, [this, done = std::move(done)](HttpResult result) {
            done(std::move(result));
            ++completed;
        });
    }
    int completed = 0;

private:
    HttpClient& inner_;
};

class UpdateCheckOverHttpTest : public QtHttpClientTest,
                                public ::testing::WithParamInterface<CheckCase> {};

TEST_P(UpdateCheckOverHttpTest, PublishesOnlyWhatADecodableAnswerSays) {
    CountingClient http(client_);
    VirtualScheduler scheduler;
    server_.answer("/version.json", {response(200, R"({"version": "3.0", "url": )"
                                                   R"("https://example.org/3.0", "notes": )"
                                                   R"("Earlier"})")});
    UpdateChecker checker(http, scheduler, "2.9", server_.url("/version.json"));
    ASSERT_TRUE(QTest::qWaitFor([&] { return http.completed == 1; }, kPatienceMs));
    ASSERT_EQ(checker.available(), kPublished);

    server_.answer("/version.json", GetParam().answer);
    checker.check();
    ASSERT_TRUE(QTest::qWaitFor([&] { return http.completed == 2; }, kPatienceMs));
    EXPECT_EQ(checker.available(), GetParam().published);
}

const std::string kOversized = R"({"version": "9.0", "url": "https://example.org/9", "notes": ")" +
                               std::string(1 << 20, 'x') + R"("})";

INSTANTIATE_TEST_SUITE_P(
    Answers, UpdateCheckOverHttpTest,
    ::testing::Values(
        CheckCase{"Newer",
                  {response(200, R"({"version": "3.10", "url": "https://example.org/3.10"})")},
                  Release{"3.10", "https://example.org/3.10", std::nullopt}},
        CheckCase{"SameAsOurs",
                  {response(200, R"({"version": "2.9", "url": "https://example.org/2.9"})")},
                  std::nullopt},
        CheckCase{"Older",
                  {response(200, R"({"version": "2.8.10", "url": "https://example.org/o"})")},
                  std::nullopt},
        CheckCase{"Malformed", {response(200, "<html>maintenance</html>")}, kPublished},
        CheckCase{"NoUrl", {response(200, R"({"version": "4.0"})")}, kPublished},
        CheckCase{"NotAWebUrl",
                  {response(200, R"({"version": "4.0", "url": "file:///etc/passwd"})")},
                  kPublished},
        CheckCase{"Oversized", {response(200, kOversized)}, kPublished},
        CheckCase{"NoAnswer", {""}, kPublished}),
    [](const auto& row) { return row.param.name; });

}  // namespace
}  // namespace pelliwig
