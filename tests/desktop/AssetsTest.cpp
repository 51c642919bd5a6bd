#include "desktop/support/Assets.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include "NotchTestSupport.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

void touch(const QTemporaryDir& dir, const QString& name) {
    QDir(dir.path()).mkpath(QFileInfo(name).path());
    QFile file(dir.filePath(name));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
}

TEST(AssetsTest, FirstRootHoldingTheFileWins) {
    QTemporaryDir installed, source;
    touch(source, "portraits/zuzi.png");
    touch(source, "icons/pelliwig.png");
    touch(installed, "icons/pelliwig.png");
    const QStringList roots{installed.path(), source.path()};
    EXPECT_EQ(Assets::url("portraits/zuzi.png", roots), source.filePath("portraits/zuzi.png"));
    EXPECT_EQ(Assets::url("icons/pelliwig.png", roots), installed.filePath("icons/pelliwig.png"));
    EXPECT_EQ(Assets::url("portraits/mom.png", roots), std::nullopt);
    EXPECT_EQ(Assets::url("portraits", roots), std::nullopt);  // folders are not files
    EXPECT_EQ(Assets::url("", roots), std::nullopt);
}

TEST(AssetsTest, DevelopmentRunFindsTheSourceTree) {
    const QStringList roots = Assets::searchRoots();
    ASSERT_GE(roots.size(), 3);
    EXPECT_TRUE(roots.front().endsWith("share/pelliwig"));
    EXPECT_TRUE(Assets::url("portraits/zuzi.png").has_value());
    EXPECT_TRUE(Assets::url("icons/pelliwig.png").has_value());
}

}  // namespace
}  // namespace pelliwig
