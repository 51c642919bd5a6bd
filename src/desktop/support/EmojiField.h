#pragma once

class QLineEdit;

namespace pelliwig::EmojiField {

// Keeps the emoji a line edit shows in the colour emoji font, as her bubble
// draws them, again after each change of its text. A line edit takes no
// formats but an input method's, so the emoji runs reach its layout as the
// formats of an empty input-method event; the text itself is untouched.
void follow(QLineEdit* field);

// Sets the emoji runs of the field's text now: for a text set while its
// signals were blocked.
void colour(QLineEdit* field);

}  // namespace pelliwig::EmojiField
