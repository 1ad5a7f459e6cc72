#pragma once
// What the framework needs of a document's view: a widget in the frame, the first target
// of command routing, and the initial update after every new or opened document.

#include "platform/fx/Command.h"

class QWidget;

namespace platform::fx {

class View : public CommandTarget {
public:
    virtual QWidget* widget() = 0;
    // Called after a document was created or opened, before it is shown.
    virtual void onInitialUpdate() {}
    // Called when the frame goes away, after the frame's own clean-up.
    virtual void onDestroy() {}
};

} // namespace platform::fx
