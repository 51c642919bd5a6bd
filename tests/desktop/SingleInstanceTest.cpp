#include "desktop/app/SingleInstance.h"

#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QDir>
#include <QLocalServer>
#include <QSignalSpy>

namespace pelliwig {
namespace {

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

// Leaves a socket file behind, as an instance that was killed does.
void leaveStaleSocket(const QString& name) {
    const auto path = QDir(QDir::tempPath()).filePath(name).toStdString();
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    ASSERT_LT(path.size(), sizeof(address.sun_path));
    path.copy(address.sun_path, path.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
}

class SingleInstanceTest : public ::testing::Test {
protected:
    void SetUp() override { application(); }

    const QString name = uniqueName();
};

TEST_F(SingleInstanceTest, DefaultNameIsPerUser) {
    EXPECT_EQ(SingleInstance::defaultName(), QStringLiteral("pelliwig-%1").arg(getuid()));
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

}  // namespace
}  // namespace pelliwig
