#pragma once
// Qt's own texts (the standard file, font and print dialogs, the buttons of message boxes)
// in Japanese, like the rest of the program.

class QCoreApplication;
class QTranslator;

// Loads Qt's Japanese translations from Qt's translations folder and installs them in app.
// Returns the installed translator (owned by app), or nullptr when none could be loaded:
// the dialogs then stay in English.
QTranslator* installQtTranslations(QCoreApplication& app);
