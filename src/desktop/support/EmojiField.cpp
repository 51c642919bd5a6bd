#include "desktop/support/EmojiField.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QTextCharFormat>

#include "desktop/support/EmojiText.h"

namespace pelliwig::EmojiField {

void colour(QLineEdit* field) {
    // The event's positions count from the cursor.
    const int cursor = field->cursorPosition();
    QList<QInputMethodEvent::Attribute> attributes;
    for (const auto& run : EmojiText::emojiRuns(field->text())) {
        attributes.append({QInputMethodEvent::TextFormat, run.start - cursor, run.length,
                           QVariant::fromValue(QTextFormat(run.format))});
    }
    QInputMethodEvent event(QString(), attributes);
    QCoreApplication::sendEvent(field, &event);
}

void follow(QLineEdit* field) {
    // Queued: the change that emitted the signal may itself be an input
    // method's event, whose formats are set before it says the text changed.
    QObject::connect(
        field, &QLineEdit::textChanged, field, [field] { colour(field); }, Qt::QueuedConnection);
}

}  // namespace pelliwig::EmojiField
