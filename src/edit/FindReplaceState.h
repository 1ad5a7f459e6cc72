#pragma once
// What find and replace remember for the rest of the run, shared by every edit view: the
// open dialog (at most one) and the last search. Nothing of it is saved.

#include <QPointer>
#include <QString>

class CFindReplaceDialog;

struct FindReplaceState {
    // The open find or replace dialog; null when none is open (also once it is deleted).
    QPointer<CFindReplaceDialog> pDialog;
    bool bFindOnly = false;   // the open dialog is the find dialog
    QString strFind;          // last search string
    QString strReplace;       // last replacement
    bool bCase = false;       // match case
    bool bNext = true;        // search downward
};

// The process's one state, made on first use.
FindReplaceState& findReplaceState();
