#include "dialogs/CShortcutDlg.h"

#include "dialogs/ResourceText.h"
#include "platform/Utf16.h"
#include "platform/fx/DialogControls.h"
#include "platform/fx/DialogUnits.h"
#include "platform/fx/FileError.h"
#include "platform/fx/UiHost.h"
#include "platform/shell/AtomicFile.h"
#include "platform/shell/DesktopShortcut.h"
#include "platform/shell/Files.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QPushButton>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

namespace {

unsigned captionOf(unsigned checkBoxId)
{
    switch (checkBoxId) {
    case res::IDC_SHORTCUT_DESKTOP: return res::IDS_SHORTCUT_DESKTOP;
    case res::IDC_SHORTCUT_PROGRAMS: return res::IDS_SHORTCUT_PROGRAMS;
    default: return res::IDS_SHORTCUT_SENDTO;
    }
}

std::string shortcutPath(const CShortcutDlg::Place& place)
{
    return platform::shell::joinPath(place.folder, place.fileName);
}

void reportFileError(QWidget* parent, int error, const std::string& path)
{
    const auto cause = platform::fx::causeFromErrno(error);
    platform::fx::showMessage(parent,
                              platform::toQString(platform::fx::fileErrorMessage(
                                  cause, platform::toU16String(QString::fromStdString(path)))),
                              platform::fx::MsgIcon::Stop);
}

} // namespace

CShortcutDlg::CShortcutDlg(Place desktop, Place programs, Place sendTo, std::string program,
                           QWidget* parent)
    : QDialog(parent), m_places{std::move(desktop), std::move(programs), std::move(sendTo)},
      m_program(std::move(program))
{
    setWindowTitle(resourceText(res::IDS_SHORTCUT_CAPTION));
    platform::fx::nameControl(this, res::IDD_SHORTCUT);
    const platform::fx::DialogUnits units(font());

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(units.x(7), units.y(7), units.x(7), units.y(7));
    layout->setSpacing(units.y(4));
    for (const Place& place : m_places) {
        auto* box = new QCheckBox(resourceText(captionOf(place.checkBoxId)), this);
        platform::fx::nameControl(box, place.checkBoxId);
        layout->addWidget(box);
    }
    auto* buttons = platform::fx::makeOkCancelRow(this, units);
    layout->addLayout(buttons);
    resize(units.size(145, 87).expandedTo(layout->minimumSize()));
}

CShortcutDlg::~CShortcutDlg() = default;

QCheckBox* CShortcutDlg::checkBox(unsigned id) const
{
    return findChild<QCheckBox*>(QString::number(id));
}

void CShortcutDlg::showEvent(QShowEvent* event)
{
    if (!m_initialized) {
        m_initialized = true;
        for (const Place& place : m_places)
            ShowShortcutState(place);
    }
    QDialog::showEvent(event);
}

void CShortcutDlg::ShowShortcutState(const Place& place)
{
    checkBox(place.checkBoxId)
        ->setChecked(!place.folder.empty() && platform::shell::entryExists(shortcutPath(place)));
}

bool CShortcutDlg::UpdateShortcut(const Place& place)
{
    if (place.folder.empty())
        return true;  // nowhere to look: the place is skipped
    const std::string path = shortcutPath(place);
    if (!checkBox(place.checkBoxId)->isChecked()) {
        if (platform::shell::entryExists(path) && ::unlink(path.c_str()) != 0) {
            // Named, as the other places go on and the message must say which one failed.
            reportFileError(this, errno, path);
            return false;
        }
        return true;
    }
    // Written again each time, so that a moved program gets its shortcuts right by OK.
    int error = place.createFolder ? platform::shell::makeFolders(place.folder) : 0;
    const std::string comment =
        platform::toQString(std::u16string(res::loadString(res::IDS_SHORTCUT_DESCRIPTION)))
            .toStdString();
    if (error == 0)
        error = platform::shell::writeFileAtomically(
            path, platform::shell::desktopEntry(m_program, comment,
                                                platform::shell::shortcutIcon(m_program)));
    // Desktops start only launchers marked executable.
    if (error == 0 && ::chmod(path.c_str(), 0755) != 0)
        error = errno;
    if (error != 0) {
        // Not made is told, not passed over: the user asked for it.
        reportFileError(this, error, path);
        return false;
    }
    return true;
}

void CShortcutDlg::accept()
{
    // Each place on its own: one that fails is told, and the others are still made to match
    // their boxes.
    bool allDone = true;
    for (const Place& place : m_places) {
        if (!UpdateShortcut(place))
            allDone = false;
    }
    // After a failure the dialog stays open, for the user to see to that place.
    if (allDone)
        QDialog::accept();
}
