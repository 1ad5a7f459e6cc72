#pragma once
// What a drag dropped on the window carries: files to open, or text to insert. One rule for
// the frame and the text view, so that every drag goes to exactly one of them.

class QMimeData;

namespace platform::fx {

// Files to open: a list of addresses that are all local files. A file manager's drag is
// one; a link or an address dragged from a browser is not, even when it names a file too.
bool isFileDrop(const QMimeData* data);

// Text to insert: any drag that carries text and is not a file drop, a browser's link or
// image included (its text is the address).
bool isTextDrop(const QMimeData* data);

} // namespace platform::fx
