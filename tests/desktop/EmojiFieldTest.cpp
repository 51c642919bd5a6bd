// Emoji in the settings window's text fields come from the colour emoji
// font, whether typed, pasted or shown from her store.
#include <gtest/gtest.h>

#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>

#include "desktop/settings/FormPage.h"
#include "support/ImageColour.h"
#include "support/QtApplication.h"

namespace pelliwig {
namespace {

const auto* const kApp = ::testing::AddGlobalTestEnvironment(new testing::QtApplication);

enum class Entry { typed, picked, set, shownFromStore };

// Typed as a keyboard layout sends it: one key with the text.
void type(QLineEdit* field, const QString& text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, text);
    QCoreApplication::sendEvent(field, &press);
}

// Committed by an input method, as an emoji picker does.
void pick(QLineEdit* field, const QString& text) {
    QInputMethodEvent commit;
    commit.setCommitString(text);
    QCoreApplication::sendEvent(field, &commit);
}

struct EmojiCase {
    const char* name;
    Entry entry;
    QString text;
    bool colour;
};

// The field's text area, without the frame (drawn in the highlight colour
// while it has the focus).
QImage inside(QLineEdit* field) {
    const QImage image = field->grab().toImage();
    return image.copy(image.rect().adjusted(4, 4, -4, -4));
}

QImage fieldWith(const EmojiCase& c) {
    QLineEdit* field = textField("Your line", "line");
    field->resize(260, 32);
    field->show();
    switch (c.entry) {
        case Entry::typed:
            type(field, c.text);
            break;
        case Entry::picked:
            pick(field, c.text);
            break;
        case Entry::set:
            field->setText(c.text);
            break;
        case Entry::shownFromStore:
            showText(field, c.text.toStdString());
            break;
    }
    QCoreApplication::processEvents();
    const QImage image = inside(field);
    delete field;
    return image;
}

TEST(EmojiFieldTest, EmojiAreInColourAndTheRestIsNot) {
    const EmojiCase cases[] = {
        {"typed heart", Entry::typed, QString::fromUtf8("Chai \u2615 and \u2764"), true},
        {"picked cat", Entry::picked, QString::fromUtf8("Billi \U0001F408 \u2764"), true},
        {"set sun", Entry::set, QString::fromUtf8("Good morning \u2600"), true},
        {"from the store", Entry::shownFromStore, QString::fromUtf8("Sleep \U0001F634"), true},
        {"no emoji", Entry::set, "Drink water at 14:30", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(testing::coloured(fieldWith(c)), c.colour) << c.name;
    }
}

// Editing after the colour was set keeps the text as typed and the emoji in
// colour where they moved to.
TEST(EmojiFieldTest, EditsKeepTheTextAndMoveTheColour) {
    QLineEdit* field = textField("Your line", "line");
    field->setText(QString::fromUtf8("\u2764 tea"));
    QCoreApplication::processEvents();
    field->setCursorPosition(0);
    type(field, "Hot ");
    field->end(false);
    QTest::keyClick(field, Qt::Key_Backspace);
    QCoreApplication::processEvents();
    EXPECT_EQ(field->text(), QString::fromUtf8("Hot \u2764 te"));
    EXPECT_TRUE(field->isUndoAvailable());
    field->resize(260, 32);
    EXPECT_TRUE(testing::coloured(inside(field)));
    delete field;
}

}  // namespace
}  // namespace pelliwig
