#pragma once
// Names a screen reader says for a window's entry boxes (one-line, text, picker, date and
// number boxes), taken from the captions the boxes sit beside: in a form row, in the next cell
// of a grid row, or next in a row or column of widgets. A caption beside one box becomes that
// box's label (its buddy); a caption "A / B" beside two boxes names them "A" and "B". Names a
// box already has stay, and boxes hidden for good (internal code pickers) are left alone.
// Nothing the window shows changes: a caption holding "&" names its box without becoming its
// label, which would turn the "&" into a shortcut.

class QWidget;

namespace lumkar {

// Once per window, after its controls are made.
void nameEntryBoxes(QWidget *window);

} // namespace lumkar
