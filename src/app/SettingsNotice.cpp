// A settings file the program cannot use is no reason not to start; the user is told once
// that nothing of this run will be kept.

#include "app/CMyApp.h"

#include "platform/Utf16.h"
#include "platform/fx/Frame.h"
#include "platform/fx/UiHost.h"
#include "platform/profile/Profile.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QFile>
#include <QTimer>

void CMyApp::AnnounceUnwritableSettings()
{
    const std::string path = profilePath();
    if (path.empty() || platform::profile::IniFile(path).canWrite())
        return;
    QWidget* frame = mainFrame();
    const QString text = platform::toQString(res::formatString1(
        res::loadString(res::IDP_SETTINGS_NOT_SAVED),
        platform::toU16String(QFile::decodeName(QByteArray::fromStdString(path)))));
    QTimer::singleShot(0, frame, [frame, text] {
        platform::fx::showMessage(frame, text, platform::fx::MsgIcon::Information);
    });
}
