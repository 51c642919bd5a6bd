#pragma once

#include <optional>
#include <string>

#include <gtest/gtest.h>
#include <QAbstractButton>
#include <QApplication>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QTabWidget>
#include <QTest>
#include <QWidget>

#include "core/settings/Prefs.h"
#include "core/support/Clock.h"
#include "desktop/settings/SettingsView.h"
#include "fakes/MemoryLoginItem.h"
#include "fakes/MemoryStore.h"
#include "fakes/VirtualScheduler.h"
#include "support/QtApplication.h"
#include "support/TestTime.h"

namespace pelliwig::testing {

inline ::testing::Environment* const kQtApplication =
    ::testing::AddGlobalTestEnvironment(new QtApplication);

// Qt's default locale for the life of one test: time fields and the times
// in notes are written as it writes them.
class LocaleForTest {
public:
    explicit LocaleForTest(const QLocale& locale) { QLocale::setDefault(locale); }
    ~LocaleForTest() { QLocale::setDefault(before_); }
    LocaleForTest(const LocaleForTest&) = delete;
    LocaleForTest& operator=(const LocaleForTest&) = delete;

private:
    QLocale before_;
};

// A settings window over an in-memory store, at a fixed time, with a login
// item and a folder chooser the test controls.
class SettingsWindowTest : public ::testing::Test {
protected:
    // What is stored under key, exactly as written ("" when nothing is).
    std::string stored(const std::string& key) const {
        const auto it = store.values().find(key);
        return it == store.values().end() ? std::string() : it->second;
    }

    template <typename W = QWidget>
    W* find(const QString& name, QWidget* in = nullptr) const {
        auto* found = (in ? in : static_cast<QWidget*>(view.get()))->findChild<W*>(name);
        EXPECT_NE(found, nullptr) << name.toStdString();
        return found;
    }

    // Gives `widget` the keyboard focus the way the Tab key would: its tab
    // is brought forward, the window is activated, and an editor with
    // sections (a time or date field) selects its first one, so typed digits
    // replace it as they would for a user.
    void focusAsByTab(QWidget* widget) const {
        for (int i = 0; i < view->tabs()->count(); ++i) {
            if (view->tabs()->widget(i)->isAncestorOf(widget)) view->tabs()->setCurrentIndex(i);
        }
        view->show();
        view->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(view.get()));
        widget->setFocus(Qt::TabFocusReason);
        ASSERT_TRUE(widget->hasFocus());
    }

    // Types `text` key by key into the focused widget; characters beyond
    // Latin-1 (emoji) arrive as text-only key events, as from an input method.
    static void typeText(QWidget* widget, const QString& text) {
        for (int i = 0; i < text.size(); ++i) {
            const bool pair = text[i].isHighSurrogate() && i + 1 < text.size();
            const QString key = text.mid(i, pair ? 2 : 1);
            if (!pair && key[0].unicode() < 0x80) {
                QTest::keyClick(widget, key[0].toLatin1());
            } else {
                QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, key, Qt::NoModifier);
            }
            if (pair) ++i;
        }
    }

    // Every text a user can read in `in`: labels, button and box titles (with
    // "&&" drawn as "&") and field placeholders.
    static QStringList shownTexts(QWidget* in) {
        QStringList texts;
        for (auto* label : in->findChildren<QLabel*>()) texts << label->text();
        for (auto* button : in->findChildren<QAbstractButton*>()) {
            texts << QString(button->text()).replace("&&", "&");
        }
        for (auto* box : in->findChildren<QGroupBox*>()) texts << box->title();
        for (auto* field : in->findChildren<QLineEdit*>()) texts << field->placeholderText();
        return texts;
    }

    // Drains deferred deletions (rows removed by a click) and layout requests.
    static void settle() {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        QCoreApplication::processEvents();
    }

    std::unique_ptr<SettingsView> makeView() {
        return std::make_unique<SettingsView>(prefs, clock, loginItem, [this](QWidget*) {
            ++folderRequests;
            return nextFolder;
        });
    }

    // Times typed into the fields below are 24-hour ones.
    LocaleForTest locale{QLocale(QLocale::English, QLocale::UnitedKingdom)};
    MemoryStore store;
    Prefs prefs{store};
    VirtualScheduler scheduler{utc(2026, 3, 10, 9, 30)};
    Clock clock{scheduler};
    MemoryLoginItem loginItem;
    std::optional<std::string> nextFolder;
    int folderRequests = 0;
    std::unique_ptr<SettingsView> view = makeView();
};

}  // namespace pelliwig::testing
