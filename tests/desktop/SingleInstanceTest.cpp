#include "desktop/app/SingleInstance.h"

#include <gtest/gtest.h>

#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>
#include "support/OrdinaryUser.h"

#include <sys/wait.h>

#include <algorithm>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <QCoreApplication>
#include <QDataStream>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QPointer>
#include <QSignalSpy>
#include <QTest>

namespace pelliwig {
namespace {

using testing::asOrdinaryUser;
using testing::kNobody;

QCoreApplication& application() {
    static int argc = 1;
    static char name[] = "SingleInstanceTest";
    static char* argv[] = {name, nullptr};
    static QCoreApplication app(argc, argv);
    return app;
}

// A name no other test process uses.
QString uniqueName() {
    static int counter = 0;
    return QStringLiteral("pelliwig-test-%1-%2").arg(getpid()).arg(++counter);
}

std::string socketPath(const QString& name) {
    return QDir(SingleInstance::folder()).filePath(name).toStdString();
}

// The address of `name`'s socket file; the name must be short enough.
sockaddr_un addressOf(const QString& name) {
    const auto path = socketPath(name);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    EXPECT_LT(path.size(), sizeof(address.sun_path));
    path.copy(address.sun_path, std::min(path.size(), sizeof(address.sun_path) - 1));
    return address;
}

int bindTo(const QString& name) {
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    EXPECT_GE(fd, 0);
    const auto address = addressOf(name);
    EXPECT_EQ(::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    return fd;
}

// Leaves a socket file behind, as an instance that was killed does.
void leaveStaleSocket(const QString& name) {
    ::close(bindTo(name));
}

// A launch writing to the socket by hand, to misbehave as SingleInstance never does.
class RawLaunch {
public:
    explicit RawLaunch(const QString& name)
        : fd_(::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK, 0)) {
        const auto address = addressOf(name);
        EXPECT_EQ(::connect(fd_, reinterpret_cast<const sockaddr*>(&address), sizeof(address)), 0);
    }
    ~RawLaunch() { ::close(fd_); }

    // Writes what the socket takes now; true once all of `bytes` went, or the instance hung up.
    bool sendSome(const QByteArray& bytes) {
        const ssize_t count = ::send(fd_, bytes.constData() + sent_,
                                     static_cast<size_t>(bytes.size() - sent_), MSG_NOSIGNAL);
        if (count > 0) sent_ += count;
        return sent_ == bytes.size() || hungUp();
    }

    void finishWriting() { ::shutdown(fd_, SHUT_WR); }

    // The instance never writes, so anything readable is its end of the connection.
    bool hungUp() const {
        pollfd ready{fd_, POLLIN, 0};
        return ::poll(&ready, 1, 0) == 1 && (ready.revents & (POLLIN | POLLHUP | POLLERR));
    }

private:
    int fd_;
    qsizetype sent_ = 0;
};

// A hand-over as SingleInstance frames it: the payload's size, then the payload.
QByteArray handOverOf(const QStringList& arguments) {
    QByteArray payload;
    QDataStream out(&payload, QIODevice::WriteOnly);
    out << arguments;
    QByteArray message;
    QDataStream framed(&message, QIODevice::WriteOnly);
    framed << static_cast<quint32>(payload.size());
    return message + payload;
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { application(); }

    const QString name = uniqueName();
};

TEST_F(SingleInstanceTest, DefaultNameIsPerUser) {
    EXPECT_EQ(SingleInstance::defaultName(), QStringLiteral("pelliwig-%1").arg(getuid()));
}

// Puts XDG_RUNTIME_DIR and TMPDIR back as they were.
class SavedFolders {
public:
    SavedFolders() {
        for (const char* name : {"XDG_RUNTIME_DIR", "TMPDIR"}) {
            saved_.push_back({name, qgetenv(name), qEnvironmentVariableIsSet(name)});
        }
    }
    ~SavedFolders() {
        for (const auto& [name, value, wasSet] : saved_) {
            if (wasSet) {
                qputenv(name, value);
            } else {
                qunsetenv(name);
            }
        }
    }

private:
    std::vector<std::tuple<const char*, QByteArray, bool>> saved_;
};

// The runtime folder is used only when it is private to this user; anything
// else could let another account take the name first, so a private folder of
// this user's own in the temporary folder is used instead.
TEST_F(SingleInstanceTest, FolderIsTheRuntimeFolderOnlyWhenItIsPrivate) {
    SavedFolders saved;
    const QString base = QDir(QDir::tempPath()).filePath(uniqueName());
    ASSERT_TRUE(QDir().mkpath(base + "/private") && QDir().mkpath(base + "/shared") &&
                QDir().mkpath(base + "/tmp"));
    ::chmod(QFile::encodeName(base + "/private").constData(), 0700);
    ::chmod(QFile::encodeName(base + "/shared").constData(), 0755);
    ::symlink(QFile::encodeName(base + "/private").constData(),
              QFile::encodeName(base + "/link").constData());
    qputenv("TMPDIR", QFile::encodeName(base + "/tmp"));
    const QString own = base + QStringLiteral("/tmp/pelliwig-%1").arg(getuid());
    const struct {
        QByteArray runtime;
        QString expected;
    } cases[] = {
        {QFile::encodeName(base + "/private"), base + "/private"},
        {QFile::encodeName(base + "/shared"), own},
        {QFile::encodeName(base + "/link"), own},
        {QFile::encodeName(base + "/missing"), own},
        {"relative/folder", own},
        {"", own},
    };
    for (const auto& c : cases) {
        qputenv("XDG_RUNTIME_DIR", c.runtime);
        EXPECT_EQ(SingleInstance::folder(), c.expected) << c.runtime.toStdString();
    }
    struct stat info {};
    ASSERT_EQ(::lstat(QFile::encodeName(own).constData(), &info), 0);
    EXPECT_TRUE(S_ISDIR(info.st_mode));
    EXPECT_EQ(info.st_mode & 0777, 0700u);
    QDir(base).removeRecursively();
}

// Someone else's folder, an open one or a link where her own folder should
// be: she neither hands her arguments to whoever listens there nor starts.
TEST_F(SingleInstanceTest, ASquattedFolderIsRefusedClearly) {
    SavedFolders saved;
    qunsetenv("XDG_RUNTIME_DIR");
    const std::function<void(const QByteArray&)> squatters[] = {
        [](const QByteArray& own) {
            ::mkdir(own.constData(), 0700);
            ASSERT_EQ(::chown(own.constData(), kNobody, kNobody), 0);
        },
        [](const QByteArray& own) {
            ::mkdir(own.constData(), 0700);
            ::chmod(own.constData(), 0777);
        },
        [](const QByteArray& own) {
            const QByteArray target = own + "-target";
            ::mkdir(target.constData(), 0700);
            ::symlink(target.constData(), own.constData());
        },
    };
    const QString temp = QDir::tempPath();
    for (std::size_t i = 0; i < std::size(squatters); ++i) {
        SCOPED_TRACE(i);
        const QString base = QDir(temp).filePath(uniqueName());
        ASSERT_TRUE(QDir().mkpath(base));
        qputenv("TMPDIR", QFile::encodeName(base));
        const QString own = base + QStringLiteral("/pelliwig-%1").arg(getuid());
        squatters[i](QFile::encodeName(own));
        EXPECT_EQ(SingleInstance::folder(), QString());
        SingleInstance instance(name);
        EXPECT_FALSE(instance.sendToRunning({"--welcome"}, 500));
        EXPECT_FALSE(instance.listen());
        EXPECT_TRUE(instance.failure().contains(own + " is not a private folder"))
            << instance.failure().toStdString();
        EXPECT_FALSE(QFile::exists(own + "/" + name));
        QDir(base).removeRecursively();
    }
}

// A runtime folder she cannot write is said as that, not taken for another
// instance starting.
TEST_F(SingleInstanceTest, AReadOnlyRuntimeFolderIsSaid) {
    SavedFolders saved;
    const QString base = QDir(QDir::tempPath()).filePath(uniqueName());
    const QString runtime = base + "/runtime";
    ASSERT_TRUE(QDir().mkpath(runtime));
    ::chmod(QFile::encodeName(base).constData(), 0755);
    const QByteArray path = QFile::encodeName(runtime);
    ::chmod(path.constData(), 0500);
    if (::geteuid() == 0) {
        ASSERT_EQ(::chown(path.constData(), kNobody, kNobody), 0);
    }
    qputenv("XDG_RUNTIME_DIR", path);
    const QString instanceName = name;
    const int failed = asOrdinaryUser([&] {
        SingleInstance instance(instanceName);
        int failures = instance.listen();
        failures += !instance.failure().startsWith("cannot make her");
        failures += !instance.failure().contains(runtime);
        return failures;
    });
    EXPECT_EQ(failed, 0);
    QDir(base).removeRecursively();
}

TEST_F(SingleInstanceTest, SecondLaunchHandsItsArgumentsToTheFirst) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::received);

    SingleInstance second(name);
    const QStringList arguments{"--preview", "water", "", "wäter ✓ with spaces\nand a line"};
    ASSERT_TRUE(second.sendToRunning(arguments));

    ASSERT_TRUE(received.wait(3000));
    ASSERT_EQ(received.count(), 1);
    EXPECT_EQ(received.at(0).at(0).toStringList(), arguments);
}

TEST_F(SingleInstanceTest, EachLaunchIsHeardOnce) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::received);

    ASSERT_TRUE(SingleInstance(name).sendToRunning({"--welcome"}));
    ASSERT_TRUE(SingleInstance(name).sendToRunning({}));
    while (received.count() < 2) ASSERT_TRUE(received.wait(3000));

    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList{"--welcome"});
    EXPECT_EQ(received.at(1).at(0).toStringList(), QStringList{});
}

TEST_F(SingleInstanceTest, NobodyRunningMeansNoHandOver) {
    EXPECT_FALSE(SingleInstance(name).sendToRunning({"--welcome"}, 500));
}

TEST_F(SingleInstanceTest, NameTakenByARunningInstanceIsNotStolen) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    EXPECT_FALSE(SingleInstance(name).listen());
    // The first still answers.
    QSignalSpy received(&first, &SingleInstance::received);
    ASSERT_TRUE(SingleInstance(name).sendToRunning({"--welcome"}));
    EXPECT_TRUE(received.wait(3000));
}

TEST_F(SingleInstanceTest, StaleSocketFileIsReplaced) {
    leaveStaleSocket(name);
    EXPECT_FALSE(SingleInstance(name).sendToRunning({}, 500));

    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::received);
    ASSERT_TRUE(SingleInstance(name).sendToRunning({"--preview"}));
    ASSERT_TRUE(received.wait(3000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList{"--preview"});
}

TEST_F(SingleInstanceTest, SilentLaunchDoesNotHoldUpTheNext) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::received);

    RawLaunch silent(name);
    QCoreApplication::processEvents();  // the instance takes the silent one in first

    ASSERT_TRUE(SingleInstance(name).sendToRunning({"--welcome"}));
    ASSERT_TRUE(received.wait(3000));
    EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList{"--welcome"});
}

TEST_F(SingleInstanceTest, BadHandOversAreDroppedAndTheNextIsHeard) {
    const QByteArray whole = handOverOf({"--preview", "water"});
    const struct {
        const char* what;
        QByteArray bytes;
    } cases[] = {
        {"larger than any hand-over", handOverOf({QString(40 * 1024, QChar('x'))})},
        {"garbage past the bound", QByteArray(70 * 1024, 'x')},
        {"cut short", whole.left(whole.size() - 3)},
    };
    for (const auto& bad : cases) {
        SCOPED_TRACE(bad.what);
        const QString caseName = uniqueName();
        SingleInstance first(caseName);
        ASSERT_TRUE(first.listen());
        QSignalSpy received(&first, &SingleInstance::received);

        RawLaunch launch(caseName);
        ASSERT_TRUE(QTest::qWaitFor([&] { return launch.sendSome(bad.bytes); }, 3000));
        launch.finishWriting();
        ASSERT_TRUE(QTest::qWaitFor([&] { return launch.hungUp(); }, 3000));

        ASSERT_TRUE(SingleInstance(caseName).sendToRunning({"--welcome"}));
        ASSERT_TRUE(received.wait(3000));
        ASSERT_EQ(received.count(), 1);
        EXPECT_EQ(received.at(0).at(0).toStringList(), QStringList{"--welcome"});
    }
}

// A launch that asks from a thread of its own, as a separate process would,
// while the instance answers on this one's event loop.
class AskingLaunch {
public:
    AskingLaunch(const QString& name, QStringList arguments, int wanted = -1)
        : thread_([this, name, arguments = std::move(arguments), wanted] {
              SingleInstance launch(name);
              const auto asked = launch.ask(arguments, [&](const QByteArray& line) {
                  std::lock_guard hold(mutex_);
                  lines_.push_back(line);
                  return wanted < 0 || static_cast<int>(lines_.size()) < wanted;
              });
              std::lock_guard hold(mutex_);
              asked_ = asked;
          }) {}
    ~AskingLaunch() { thread_.join(); }

    // Runs the event loop until the launch is done; false if it never is.
    bool finish() {
        return QTest::qWaitFor(
            [this] {
                std::lock_guard hold(mutex_);
                return asked_.has_value();
            },
            3000);
    }
    std::optional<SingleInstance::Asked> asked() {
        std::lock_guard hold(mutex_);
        return asked_;
    }
    std::vector<QByteArray> lines() {
        std::lock_guard hold(mutex_);
        return lines_;
    }

private:
    std::mutex mutex_;
    std::vector<QByteArray> lines_;
    std::optional<SingleInstance::Asked> asked_;
    std::thread thread_;  // last: it starts once the rest is there
};

struct AnswerCase {
    std::string name;
    std::vector<QByteArray> answers;  // written at once, then the instance hangs up
    int wanted;                       // lines the launch reads before it has enough; -1: all
    SingleInstance::Asked expected;
    std::vector<QByteArray> read;
};

class SingleInstanceAskTest : public SingleInstanceTest,
                              public ::testing::WithParamInterface<AnswerCase> {};

TEST_P(SingleInstanceAskTest, TheLaunchReadsTheAnswersLineByLine) {
    const auto& c = GetParam();
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QSignalSpy received(&first, &SingleInstance::received);
    std::vector<QStringList> questions;
    QObject::connect(&first, &SingleInstance::asked, &first,
                     [&](const QStringList& arguments, SingleInstance::Asker* asker) {
                         questions.push_back(arguments);
                         for (const auto& answer : c.answers) asker->answer(answer);
                         asker->close();
                     });

    AskingLaunch launch(name, {"--status", "--json"}, c.wanted);
    ASSERT_TRUE(launch.finish());
    EXPECT_EQ(launch.asked(), c.expected);
    EXPECT_EQ(launch.lines(), c.read);
    // A question is heard as one, with its own words only, never as a hand-over.
    EXPECT_EQ(questions, (std::vector<QStringList>{{"--status", "--json"}}));
    EXPECT_EQ(received.count(), 0);
}

using Asked = SingleInstance::Asked;

INSTANTIATE_TEST_SUITE_P(
    Answers, SingleInstanceAskTest,
    ::testing::Values(
        AnswerCase{"OneLine",
                   {"Next: water around 14:30"},
                   1,
                   Asked::enough,
                   {"Next: water around 14:30"}},
        AnswerCase{"EveryLineUntilTheEnd",
                   {"one", "", "thrée ✓"},
                   -1,
                   Asked::hungUp,
                   {"one", "", "thrée ✓"}},
        AnswerCase{"EnoughAfterTwo", {"one", "two", "three"}, 2, Asked::enough, {"one", "two"}},
        // What a Zuzi that knows no questions does: it hangs up at once.
        AnswerCase{"NoAnswer", {}, -1, Asked::hungUp, {}}),
    [](const auto& row) { return row.param.name; });

TEST_F(SingleInstanceTest, NobodyRunningMeansNobodyToAsk) {
    AskingLaunch launch(name, {"--status"});
    ASSERT_TRUE(launch.finish());
    EXPECT_EQ(launch.asked(), SingleInstance::Asked::notRunning);
}

// The asker lives while the launch listens and goes when it hangs up, so a
// follower that left is never written to.
TEST_F(SingleInstanceTest, AskerGoesWhenTheLaunchHangsUp) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QPointer<SingleInstance::Asker> kept;
    QObject::connect(&first, &SingleInstance::asked, &first,
                     [&](const QStringList&, SingleInstance::Asker* asker) {
                         kept = asker;
                         asker->answer("first");
                     });
    {
        AskingLaunch launch(name, {"--status", "--follow"}, 1);
        ASSERT_TRUE(launch.finish());
        EXPECT_EQ(launch.asked(), SingleInstance::Asked::enough);
    }
    EXPECT_TRUE(QTest::qWaitFor([&] { return kept.isNull(); }, 3000)) << "the asker stayed";
}

// A launch that asks and then never reads is hung up on once its socket is
// full, rather than making her wait.
TEST_F(SingleInstanceTest, ALaunchThatDoesNotReadIsHungUpOn) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    QPointer<SingleInstance::Asker> kept;
    QObject::connect(&first, &SingleInstance::asked, &first,
                     [&](const QStringList&, SingleInstance::Asker* asker) { kept = asker; });
    RawLaunch launch(name);
    QByteArray question;
    {
        QByteArray payload;
        QDataStream out(&payload, QIODevice::WriteOnly);
        out << QStringList{QStringLiteral("\u0001question"), "--status", "--follow"};
        QDataStream framed(&question, QIODevice::WriteOnly);
        framed << static_cast<quint32>(payload.size());
        question += payload;
    }
    ASSERT_TRUE(QTest::qWaitFor([&] { return launch.sendSome(question); }, 3000));
    ASSERT_TRUE(QTest::qWaitFor([&] { return !kept.isNull(); }, 3000));
    const QByteArray line(1024, 'x');
    int written = 0;
    while (kept && kept->answer(line)) ASSERT_LT(++written, 100000) << "never refused";
    EXPECT_FALSE(kept && kept->answer(line));
}

TEST_F(SingleInstanceTest, SocketFileIsForThisUserOnly) {
    SingleInstance first(name);
    ASSERT_TRUE(first.listen());
    struct stat status {};
    ASSERT_EQ(::stat(socketPath(name).c_str(), &status), 0);
    EXPECT_TRUE(S_ISSOCK(status.st_mode));
    EXPECT_EQ(status.st_mode & 0777, 0600u);
    EXPECT_EQ(status.st_uid, getuid());
}

TEST_F(SingleInstanceTest, PathsTooLongForASocketFailCleanly) {
    // sun_path holds 108 bytes, the terminating NUL among them.
    const auto prefix = socketPath(QStringLiteral("x")).size() - 1;
    const struct {
        size_t pathLength;
        bool fits;
    } cases[] = {{107, true}, {108, false}, {200, false}};
    for (const auto& length : cases) {
        SCOPED_TRACE(length.pathLength);
        const QString base = uniqueName();
        if (length.pathLength < prefix + static_cast<size_t>(base.size())) {
            GTEST_SKIP() << "the temporary folder is too deep";
        }
        const auto longName =
            base.leftJustified(static_cast<qsizetype>(length.pathLength - prefix), 'n');
        ASSERT_EQ(socketPath(longName).size(), length.pathLength);

        SingleInstance first(longName);
        EXPECT_EQ(first.listen(), length.fits);
        EXPECT_EQ(SingleInstance(longName).sendToRunning({"--welcome"}, 500), length.fits);
        if (!length.fits) {
            // Nothing claimed on the way to failing.
            EXPECT_FALSE(
                QFile::exists(QDir(SingleInstance::folder()).filePath(longName + ".lock")));
        }
    }
}

TEST_F(SingleInstanceTest, WedgedInstanceDoesNotHoldTheLaunchPastItsTimeout) {
    // Listens but never accepts nor reads.
    const int wedged = bindTo(name);
    ASSERT_EQ(::listen(wedged, 1), 0);
    // More than the socket buffers take, so the write has to wait for a reader.
    const QStringList arguments{QString(512 * 1024, QChar('x'))};
    QElapsedTimer clock;
    clock.start();
    EXPECT_FALSE(SingleInstance(name).sendToRunning(arguments, 300));
    EXPECT_LT(clock.elapsed(), 2000);
    ::close(wedged);
    ::unlink(addressOf(name).sun_path);
}

}  // namespace
}  // namespace pelliwig
