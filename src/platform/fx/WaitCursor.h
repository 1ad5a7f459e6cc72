#pragma once
// Shows the wait cursor over the whole program for as long as the object lives. Nested ones
// (a search inside Replace All) leave the cursor to the outermost, so a long loop does not
// switch it thousands of times; restore() gives it back early, e.g. before a message box.

#include <QGuiApplication>

namespace platform::fx {

class WaitCursor {
public:
    WaitCursor()
    {
        if (depth()++ == 0)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor() { restore(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

    void restore()
    {
        if (!m_shown)
            return;
        m_shown = false;
        if (--depth() == 0)
            QGuiApplication::restoreOverrideCursor();
    }

private:
    static int& depth()
    {
        static int n = 0;
        return n;
    }
    bool m_shown = true;
};

} // namespace platform::fx
