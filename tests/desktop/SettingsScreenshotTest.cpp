#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QScrollArea>
#include <QTabWidget>

#include "SettingsTestWindow.h"
#include "support/XvfbServer.h"

namespace pelliwig::testing {
namespace {

// The pictures are drawn on a private X server, as in a GNOME session (its
// icon theme included), when Xvfb is there; on Qt's offscreen platform
// otherwise. Set before the test environment creates the application.
struct ScreenshotDisplay {
    ScreenshotDisplay() {
        if (!server.ok()) return;
        qputenv("DISPLAY", QByteArray::fromStdString(server.display()));
        qputenv("QT_QPA_PLATFORM", "xcb");
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
    }
    XvfbServer server;
};

const ScreenshotDisplay kDisplay;

// Draws every tab of a filled-in window into PNG files beside the test
// program ("settings-screens/"), to look at after a change to the forms, and
// checks that nothing in a form is wider than the window.
class SettingsScreenshotTest : public SettingsWindowTest {
protected:
    void SetUp() override {
        prefs.birthday.set(MonthDay{8, 14});
        prefs.customReminders.set({CustomReminder{.text = "Call Nani", .minutes = 1140},
                                   CustomReminder{.text = "", .minutes = 720, .enabled = false}});
        prefs.bigDay.set(clock.now() + 4 * 86'400);
        prefs.bigDayLabel.set("Thesis defence");
        prefs.countdowns.set({Countdown{.label = "Goa trip", .date = clock.now() + 20 * 86'400}});
        prefs.specialDates.set({SpecialDate{.label = "Diwali", .monthDay = {11, 8}}});
        prefs.taughtLines.set({TaughtLine{.text = "Tum best ho, yaad rakhna."}});
        prefs.photoFolder.set(QDir::homePath().toStdString() +
                              "/Pictures/Phone backups/2025/Weekend trips with friends");
        prefs.setEnabled(ReminderKind::calendar, true);
        folder = QDir(QCoreApplication::applicationDirPath()).filePath("settings-screens");
        ASSERT_TRUE(QDir().mkpath(folder));
        view->show();
    }

    void save(const QPixmap& picture, const QString& name) {
        const QString path = QDir(folder).filePath(name + ".png");
        ASSERT_TRUE(picture.save(path)) << path.toStdString();
        EXPECT_FALSE(QImage(path).isNull());
    }

    QString folder;
};

TEST_F(SettingsScreenshotTest, EveryTabAsTheWindowShowsItAndWhole) {
    const char* names[] = {"general", "reminders", "dates", "her-world"};
    auto* tabs = view->tabs();
    for (int i = 0; i < tabs->count(); ++i) {
        tabs->setCurrentIndex(i);
        QCoreApplication::processEvents();
        const QPixmap window = view->grab();
        EXPECT_EQ(window.size(), QSize(500, 520) * window.devicePixelRatio());
        save(window, QString("%1-%2").arg(i + 1).arg(names[i]));
        // The whole form, including what is scrolled out of view.
        auto* page = qobject_cast<QScrollArea*>(tabs->widget(i));
        ASSERT_NE(page, nullptr);
        // Forms scroll only up and down: anything wider would be cut off.
        EXPECT_LE(page->widget()->minimumSizeHint().width(), page->viewport()->width()) << names[i];
        EXPECT_EQ(page->widget()->width(), page->viewport()->width()) << names[i];
        save(page->widget()->grab(), QString("%1-%2-full").arg(i + 1).arg(names[i]));
    }
}

}  // namespace
}  // namespace pelliwig::testing
