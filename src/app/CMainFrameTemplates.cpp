// The template menu of the main frame: rebuilt from the template folder each time a menu
// opens, so that templates added or removed outside the program show at the next opening;
// adding, inserting and organizing templates.

#include "app/CMainFrame.h"

#include "doc/TemplateFiles.h"
#include "dialogs/CTemplateNameDlg.h"
#include "dialogs/CTemplateOrganizeDlg.h"
#include "doc/CMyDoc.h"
#include "platform/Utf16.h"
#include "platform/fx/FileError.h"
#include "platform/fx/UiHost.h"
#include "platform/shell/AtomicFile.h"
#include "platform/shell/Files.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "view/CMyView.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

#include <cerrno>

namespace {

using platform::fx::MsgAnswer;
using platform::fx::MsgButtons;
using platform::fx::MsgIcon;

// The template drop-down is the fifth of the menu bar.
constexpr int kTemplateMenuIndex = 4;
constexpr const char* kTemplateItemProperty = "quilletTemplate";

QString message(unsigned id, const std::string& path)
{
    return platform::toQString(res::formatString1(
        res::loadString(id), platform::toU16String(QString::fromStdString(path))));
}

// Errors that happen after the file could be made: told as file errors, not as a file that
// cannot be opened.
bool isWriteError(int error)
{
    return error == ENOSPC || error == EIO || error == EDQUOT || error == EFBIG;
}

} // namespace

std::string CMainFrame::TemplateFolder()
{
    return doc::templateFolder(doc::FolderInputs::fromProcess());
}

void CMainFrame::onInitMenu()
{
    RebuildTemplateMenu();
}

void CMainFrame::RebuildTemplateMenu()
{
    // No template drop-down (no menu bar): the list stays as it is.
    QMenu* menu = popupMenu(kTemplateMenuIndex);
    if (!menu)
        return;
    std::vector<std::u16string> names = doc::listNames(TemplateFolder());
    // Numbers stop below the program's own commands; further templates are not listed.
    const std::size_t room = res::ID_OWN_COMMAND_FIRST - res::ID_TEMPLATE_FIRST;
    if (names.size() > room)
        names.resize(room);
    // Every menu opening comes here; items that would come out as the menu shows them are
    // kept. They are judged by what the menu shows, not by m_templateNames, which the
    // organize dialog renames in place.
    const bool unchanged = names == m_templateMenuNames &&
                           m_nTemplateIdEnd == res::ID_TEMPLATE_FIRST + unsigned(names.size());
    m_templateNames = names;
    if (unchanged)
        return;
    for (QAction* action : menu->actions()) {
        if (action->property(kTemplateItemProperty).toBool())
            delete action;
    }
    m_templateMenuNames = std::move(names);
    m_nTemplateIdEnd = res::ID_TEMPLATE_FIRST;
    for (const std::u16string& name : m_templateMenuNames) {
        // An "&" in the name marks the item's mnemonic, as in any menu text.
        QAction* action = makeAction(m_nTemplateIdEnd, platform::toQString(name));
        action->setProperty(kTemplateItemProperty, true);
        menu->addAction(action);
        ++m_nTemplateIdEnd;
    }
}

void CMainFrame::OnUpdateTemplateItem(platform::fx::CmdUI& ui)
{
    ui.enable(ui.id() < m_nTemplateIdEnd);
}

void CMainFrame::OnTemplateItem(unsigned id)
{
    if (id < res::ID_TEMPLATE_FIRST || id >= m_nTemplateIdEnd)
        return;
    const std::size_t index = id - res::ID_TEMPLATE_FIRST;
    if (index < m_templateNames.size())
        InsertTemplate(m_templateNames[index]);
}

void CMainFrame::InsertTemplate(const std::u16string& name)
{
    if (!m_pView)
        return;
    const std::string path = doc::templatePath(TemplateFolder(), name);
    // Read under the rules of every reader: a FIFO or a folder named like a template cannot
    // hang or confuse the program, and a file another holder has locked is not read.
    const auto contents = doc::isStorableName(name)
                              ? platform::shell::readWholeFile(path)
                              : platform::shell::FileBytes{{}, EINVAL, false};
    if (contents.error != 0 || contents.shortRead) {
        platform::fx::showMessage(this, message(res::IDP_TEMPLATE_OPEN_FAILED, path),
                                  MsgIcon::Exclamation);
        return;
    }
    m_pView->ReplaceSelWithUndo(doc::decodeTemplate(contents.bytes));
}

void CMainFrame::OnUpdateAddTemplate(platform::fx::CmdUI& ui)
{
    ui.enable(m_pView && m_pView->textLength() > 0);
}

void CMainFrame::OnAddTemplate()
{
    if (!m_pView)
        return;
    // The proposed name: the title up to its first "." ("無題" for a new text).
    const QString title = document() ? document()->title() : QString();
    CTemplateNameDlg dialog(this);
    dialog.m_strName = title.section(QLatin1Char('.'), 0, 0);
    if (platform::fx::UiHost::current().runModal(dialog) != QDialog::Accepted)
        return;
    const std::u16string name = platform::toU16String(dialog.m_strName);
    const std::string folder = TemplateFolder();
    const std::string path = doc::templatePath(folder, name);
    // A name no file can carry fails as a file that cannot be made, before anything is
    // touched.
    if (!doc::isStorableName(name)) {
        platform::fx::showMessage(this, message(res::IDP_TEMPLATE_OPEN_FAILED, path),
                                  MsgIcon::Exclamation);
        return;
    }
    if (platform::shell::entryExists(path) &&
        platform::fx::showMessage(this, message(res::IDP_TEMPLATE_OVERWRITE, path),
                                  MsgIcon::Exclamation, MsgButtons::YesNo) == MsgAnswer::No)
        return;
    // The per-user folder is hidden from the user, who could not create it: it is made here.
    int error = platform::shell::makeFolders(folder);
    if (error == 0)
        error = platform::shell::writeFileAtomically(
            path, doc::encodeTemplate(m_pView->text()));
    if (error == 0)
        return;
    if (isWriteError(error)) {
        const auto cause = platform::fx::causeFromErrno(error);
        platform::fx::showMessage(
            this, platform::toQString(platform::fx::fileErrorMessage(cause, {})),
            MsgIcon::Stop);
        return;
    }
    platform::fx::showMessage(this, message(res::IDP_TEMPLATE_OPEN_FAILED, path),
                              MsgIcon::Exclamation);
}

void CMainFrame::OnUpdateOrganizeTemplates(platform::fx::CmdUI& ui)
{
    ui.enable(!m_templateNames.empty());
}

void CMainFrame::OnOrganizeTemplates()
{
    CTemplateOrganizeDlg dialog(&m_templateNames, TemplateFolder(), this);
    platform::fx::UiHost::current().runModal(dialog);
}
