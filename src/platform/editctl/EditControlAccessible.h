#pragma once
// The edit control on the accessibility bus: screen readers read its text, follow its caret
// and selection and edit it through an accessible interface with Qt's text and editable-text
// interfaces. The arithmetic is AccessibleText's; this part only talks to Qt.
//
// Offsets are characters (code points), as AT-SPI counts them: Qt's bridge (6.4) hands our
// offsets to the bus and the bus's to us unchanged, so they are converted here, both ways.
// Edits by an assistive technology go through the control's replaceText hook, so a view that
// keeps an undo records them like any other edit.

#include "platform/editctl/TextBuffer.h"

#include <functional>

class QAccessibleEvent;

namespace platform {

class EditControl;

namespace accessibility {

// Makes Qt give every edit control our interface; the control calls it once it exists.
void installEditControlFactory();

// Events, sent only while someone listens (Qt's bridge is active, or a sink is set). Called
// by the control where it learns of each change: a change of its buffer (with what it
// removed), and a move of the selection from oldAnchor..oldCaret.
void textChanged(EditControl& control, const TextBuffer::Change& change);
void selectionMoved(EditControl& control, int oldAnchor, int oldCaret);

// Where events go instead of Qt's bridge: for tests on a platform that has none. An empty
// function gives them back to Qt.
using EventSink = std::function<void(QAccessibleEvent& event)>;
void setEventSink(EventSink sink);

} // namespace accessibility
} // namespace platform
