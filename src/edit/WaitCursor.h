#pragma once
// Shows the wait cursor for as long as the object lives. Nested ones (a search inside Replace
// All) leave the cursor to the outermost, so a long loop does not switch it thousands of times.

#include <QGuiApplication>

class WaitCursor {
public:
    WaitCursor()
    {
        if (depth()++ == 0)
            QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~WaitCursor()
    {
        if (--depth() == 0)
            QGuiApplication::restoreOverrideCursor();
    }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;

private:
    static int& depth()
    {
        static int n = 0;
        return n;
    }
};
