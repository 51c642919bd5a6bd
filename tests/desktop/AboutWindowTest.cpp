// Her About window: the version, what she reads and keeps, the project page
// and the licence exactly as the package's copyright file states it.
#include "desktop/app/AboutWindow.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "core/support/Brand.h"
#include "support/QtApplication.h"

namespace pelliwig {
namespace {

const auto* const qt = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

// The words of the copyright file's fields (the first line of each field and
// its continuation lines), read here without the build's own parser.
std::vector<std::string> copyrightWords(const std::string& field) {
    std::ifstream file(PELLIWIG_SOURCE_RESOURCES "/debian/copyright");
    std::vector<std::string> words;
    std::string line;
    bool inside = false;
    while (std::getline(file, line)) {
        if (line.rfind(field + ":", 0) == 0) {
            inside = words.empty();
            if (inside) words.push_back(line.substr(field.size() + 2));
        } else if (inside && line.rfind(" ", 0) == 0) {
            if (line != " .") words.push_back(line.substr(1));
        } else {
            inside = false;
        }
    }
    return words;
}

class AboutWindowTest : public ::testing::Test {
protected:
    QString text(const char* name) const { return window.findChild<QLabel*>(name)->text(); }

    std::vector<QString> opened;
    AboutWindow window{QPixmap(), "~/.config/pelliwig/defaults.sqlite",
                       [this](const QString& url) { opened.push_back(url); }};
};

TEST_F(AboutWindowTest, NamesHerVersionAndWhereHerThingsStay) {
    window.showAndRaise();
    EXPECT_EQ(window.windowTitle(), "About Zuzi");
    EXPECT_EQ(text("version").toStdString(), "Version " + std::string(Brand::version));
    for (const char* sensed :
         {"application in front", "keyboard", "battery", "calendar", "camera or microphone"}) {
        EXPECT_TRUE(text("reads").contains(sensed)) << sensed;
    }
    EXPECT_TRUE(text("stays").contains("~/.config/pelliwig/defaults.sqlite"));
    EXPECT_TRUE(text("stays").contains("newer release every six hours"));
}

TEST_F(AboutWindowTest, StatesTheLicenceAsThePackageDoes) {
    const QString licence = text("licence");
    for (const char* field : {"License", "Comment", "Copyright"}) {
        const auto words = copyrightWords(field);
        ASSERT_FALSE(words.empty()) << field;
        for (const auto& line : words) {
            EXPECT_TRUE(licence.contains(QString::fromStdString(line)))
                << field << ": " << line << " in " << licence.toStdString();
        }
    }
}

TEST_F(AboutWindowTest, TheProjectPageOpensFromItsLink) {
    window.showAndRaise();
    auto* link = window.findChild<QLabel*>("homepage");
    const QString page = AboutWindow::homepage();
    ASSERT_TRUE(page.startsWith("https://"));
    EXPECT_TRUE(link->text().contains("href=\"" + page + "\""));
    EXPECT_TRUE(link->textInteractionFlags() & Qt::LinksAccessibleByKeyboard);
    emit link->linkActivated(page);
    EXPECT_EQ(opened, std::vector<QString>{page});
}

TEST_F(AboutWindowTest, CloseAndEscapeEndIt) {
    window.showAndRaise();
    QApplication::setActiveWindow(&window);
    EXPECT_EQ(QApplication::focusWidget(), window.findChild<QPushButton*>("close"));
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    window.showAndRaise();
    window.findChild<QPushButton*>("close")->click();
    EXPECT_FALSE(window.isVisible());
}

// Drawn into gallery/ beside the test program for a person to look at; the
// check is the one a picture shows wrongly at a glance: no text cut off.
TEST_F(AboutWindowTest, FitsItsTextAndIsDrawnToTheGallery) {
    window.showAndRaise();
    for (auto* label : window.findChildren<QLabel*>()) {
        if (label->wordWrap()) {
            EXPECT_GE(label->height(), label->heightForWidth(label->width()))
                << label->objectName().toStdString();
        }
    }
    QDir dir(QDir(QCoreApplication::applicationDirPath()).filePath("gallery"));
    ASSERT_TRUE(dir.mkpath("."));
    EXPECT_TRUE(window.grab().save(dir.filePath("about.png")));
}

}  // namespace
}  // namespace pelliwig
