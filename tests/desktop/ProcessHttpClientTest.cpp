#include "desktop/support/ProcessHttpClient.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <chrono>
#include <csignal>
#include <optional>
#include <string>

#include "support/LoopbackHttpServer.h"
#include "support/QtCoreApplication.h"

namespace pelliwig {
namespace {

using namespace std::chrono_literals;
using testing::Answer;
using testing::fetch;
using testing::kPatienceMs;
using testing::response;
using testing::unannounced;

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtCoreApplication);

const QString kHelper = QStringLiteral(PELLIWIG_FETCH_PROGRAM);

// The real helper against a real server: the answer crosses the process
// boundary whole, or not at all.
struct ThroughCase {
    std::string name;
    Answer answer;
    std::size_t limit;
    HttpResult expected;
};

void PrintTo(const ThroughCase& throughCase, std::ostream* out) {
    *out << throughCase.name;
}

class ProcessHttpThroughTest : public ::testing::TestWithParam<ThroughCase> {};

TEST_P(ProcessHttpThroughTest, TheHelpersAnswerArrivesWhole) {
    testing::LoopbackHttpServer server;
    ASSERT_TRUE(server.listening());
    server.answer("/version.json", GetParam().answer);
    ProcessHttpClient client(kHelper);
    const HttpRequest request{server.url("/version.json"), 60, GetParam().limit};
    EXPECT_EQ(fetch(client, request), GetParam().expected);
}

const std::string kRawBody = std::string("line one\nline two\0and after a zero", 34);

INSTANTIATE_TEST_SUITE_P(
    Answers, ProcessHttpThroughTest,
    ::testing::Values(
        ThroughCase{"Ok", {response(200, kRawBody)}, 1 << 20, HttpResponse{200, kRawBody}},
        ThroughCase{"NotFound", {response(404, "gone")}, 1 << 20, HttpResponse{404, "gone"}},
        ThroughCase{"EmptyBody", {response(204, "")}, 1 << 20, HttpResponse{204, ""}},
        ThroughCase{"AtTheLimit", {unannounced("0123456789")}, 10, HttpResponse{200, "0123456789"}},
        ThroughCase{"OverTheLimit", {unannounced("0123456789!")}, 10, std::nullopt},
        ThroughCase{"HungUpWithoutAWord", {""}, 1 << 20, std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST(ProcessHttpClientTest, OtherSchemesAreRefusedByTheHelper) {
    ProcessHttpClient client(kHelper);
    EXPECT_EQ(fetch(client, HttpRequest{"file:///etc/hostname"}), std::nullopt);
}

// Stand-in helpers, as shell scripts, for the ways a child can misbehave.
class ScriptedHelper {
public:
    explicit ScriptedHelper(const std::string& body) : path_(folder_.filePath("helper")) {
        QFile file(path_);
        if (!file.open(QIODevice::WriteOnly)) return;
        file.write(("#!/bin/sh\n" + body + "\n").c_str());
        file.close();
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString& path() const { return path_; }
    QString file(const QString& name) const { return folder_.filePath(name); }

private:
    QTemporaryDir folder_;
    QString path_;
};

struct MisbehaviourCase {
    std::string name;
    std::string script;
    HttpResult expected;
};

void PrintTo(const MisbehaviourCase& misbehaviourCase, std::ostream* out) {
    *out << misbehaviourCase.name;
}

class ProcessHttpMisbehaviourTest : public ::testing::TestWithParam<MisbehaviourCase> {};

TEST_P(ProcessHttpMisbehaviourTest, OnlyAWholeAnswerCounts) {
    ScriptedHelper helper(GetParam().script);
    ProcessHttpClient client(helper.path(), 0ms);
    // Ten bytes of body at most, and a tenth of a second.
    EXPECT_EQ(fetch(client, HttpRequest{"https://example.org/v.json", 0.1, 10}),
              GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Children, ProcessHttpMisbehaviourTest,
    ::testing::Values(
        // The command line carries the whole request.
        MisbehaviourCase{"Echo", R"(printf '200\n%s|%s' "$2" "$3")", HttpResponse{200, "0.1|10"}},
        MisbehaviourCase{"SaysNoAnswer", "exit 1", std::nullopt},
        MisbehaviourCase{"AnswersButFails", R"(printf '200\nok'; exit 1)", std::nullopt},
        MisbehaviourCase{"Garbage", "echo hello", std::nullopt},
        MisbehaviourCase{"Floods", R"(printf '200\n'; exec yes)", std::nullopt},
        MisbehaviourCase{"Crashes", R"(printf '200\nok'; kill -SEGV $$)", std::nullopt},
        MisbehaviourCase{"Hangs", "exec sleep 100", std::nullopt}),
    [](const auto& row) { return row.param.name; });

TEST(ProcessHttpClientTest, AMissingHelperFailsLaterOnTheMainThread) {
    QTemporaryDir empty;
    ProcessHttpClient client(empty.filePath("pelliwig-fetch"));
    bool done = false;
    bool onMainThread = false;
    HttpResult result = HttpResponse{};
    client.get(HttpRequest{"https://example.org/"}, [&](HttpResult r) {
        done = true;
        result = std::move(r);
        onMainThread = QThread::currentThread() == QCoreApplication::instance()->thread();
    });
    EXPECT_FALSE(done) << "completed inside get()";
    ASSERT_TRUE(QTest::qWaitFor([&] { return done; }, kPatienceMs));
    EXPECT_TRUE(onMainThread);
    EXPECT_EQ(result, std::nullopt);
}

TEST(ProcessHttpClientTest, ADestroyedClientKillsItsChildrenAndCompletesNothing) {
    ScriptedHelper helper("echo $$ > \"$(dirname \"$0\")/pid\"; exec sleep 100");
    int completions = 0;
    pid_t child = 0;
    {
        ProcessHttpClient doomed(helper.path());
        doomed.get(HttpRequest{"https://example.org/", 60}, [&](HttpResult) { ++completions; });
        QFile pidFile(helper.file("pid"));
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                return pidFile.open(QIODevice::ReadOnly) &&
                       (child = pidFile.readAll().trimmed().toInt()) > 0;
            },
            kPatienceMs));
    }
    EXPECT_NE(::kill(child, 0), 0) << "the child outlived its client";
    QCoreApplication::processEvents();
    EXPECT_EQ(completions, 0);
}

}  // namespace
}  // namespace pelliwig
