// Entry point: the Qt application, then the program's application object runs.

#include "res/AppIcon.h"
#include "app/CMyApp.h"
#include "app/QtTranslations.h"
#include "platform/Utf16.h"
#include "res/AppId.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QApplication>

int main(int argc, char** argv)
{
    QApplication qapp(argc, argv);
    QApplication::setApplicationName(platform::toQString(res::loadString(res::AFX_IDS_APP_TITLE)));
    // Lets the desktop match the window with the installed entry and its icon.
    QGuiApplication::setDesktopFileName(QString::fromLatin1(res::kAppId));
    QApplication::setWindowIcon(res::appIcon());
    installQtTranslations(qapp);
    QStringList arguments = QApplication::arguments();
    arguments.removeFirst();
    CMyApp app(arguments);
    return app.run();
}
