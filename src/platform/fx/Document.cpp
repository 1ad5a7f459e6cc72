#include "platform/fx/Document.h"

#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/FileError.h"
#include "platform/fx/FrameworkIds.h"
#include "platform/fx/FrameworkStrings.h"
#include "platform/fx/UiHost.h"
#include "platform/shell/AtomicFile.h"
#include "platform/shell/Files.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>

namespace platform::fx {

namespace {

QString str(unsigned id)
{
    return toQString(frameworkString(id));
}

} // namespace

Document::Document() = default;
Document::~Document() = default;

void Document::setPathName(const QString& path)
{
    m_pathName = QFileInfo(path).absoluteFilePath();
    setTitle(QFileInfo(m_pathName).fileName());
}

void Document::setTitle(const QString& title)
{
    if (m_title == title)
        return;
    m_title = title;
    emit titleChanged();
}

void Document::setModifiedFlag(bool modified)
{
    if (m_modified == modified)
        return;
    m_modified = modified;
    emit modifiedChanged(modified);
}

QString Document::docTypeField(int index) const
{
    return m_docString.split(QLatin1Char('\n')).value(index);
}

QList<FileFilter> Document::fileFilters() const
{
    const QString ext = docTypeField(4);  // ".txt"
    return {
        FileFilter{docTypeField(3), QLatin1Char('*') + ext},
        FileFilter{str(ids::AFX_IDS_ALLFILTER), QStringLiteral("*")},
    };
}

bool Document::onNewDocument()
{
    deleteContents();
    m_pathName.clear();
    setTitle(str(ids::AFX_IDS_UNTITLED));
    setModifiedFlag(false);
    return true;
}

bool Document::onOpenDocument(const QString& path)
{
    const shell::WholeFile file(QFile::encodeName(path).toStdString());
    if (file.error() != 0) {
        reportFileError(file.error(), path);
        return false;
    }

    deleteContents();
    setModifiedFlag(true);  // spoilt until the load succeeds
    // The serializer checks the size against its limit before it reads.
    Archive archive = Archive::forLoading(file.fd(), file.size(), toU16String(path));
    if (file.size() != 0)
        serialize(archive);
    if (archive.failed()) {
        deleteContents();
        reportSaveLoadFailure(archive, false, path);
        return false;
    }
    setModifiedFlag(false);
    return true;
}

bool Document::onSaveDocument(const QString& path)
{
    Archive archive = Archive::forStoring(toU16String(path));
    serialize(archive);
    if (archive.failed()) {
        reportSaveLoadFailure(archive, true, path);
        return false;
    }
    const int error = shell::writeFileAtomically(QFile::encodeName(path).toStdString(),
                                                 archive.storedBytes());
    if (error != 0) {
        reportFileError(error, path);
        return false;
    }
    setModifiedFlag(false);
    return true;
}

bool Document::doSave(const QString& path, bool replace)
{
    QString name = path;
    if (name.isEmpty()) {
        name = m_pathName;
        if (replace && name.isEmpty())
            name = proposedFileName(m_title, docTypeField(4));
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.title = str(ids::AFX_IDS_SAVEFILE);
        request.filters = fileFilters();
        request.defaultSuffix = docTypeField(4).mid(1);
        request.proposedPath = name;
        request.confirmOverwrite = true;
        const auto chosen = UiHost::current().fileDialog(m_dialogParent, request);
        if (!chosen)
            return false;
        name = *chosen;
    }
    // A failed save leaves the file on disk as it was; it is never removed, because under
    // save as it may be an older file the user chose to replace.
    if (!onSaveDocument(name))
        return false;
    if (replace) {
        setPathName(name);
        // A file saved under a name is one of the last files used, as an opened one is.
        if (App* app = App::instance())
            app->addToRecentFileList(m_pathName);
    }
    return true;
}

bool Document::doFileSave()
{
    // A read-only file is saved under another name, as the user chooses.
    if (!m_pathName.isEmpty() &&
        shell::isReadOnlyFile(QFile::encodeName(m_pathName).toStdString()))
        return doSave(QString());
    return doSave(m_pathName);
}

bool Document::saveModified()
{
    if (!m_modified)
        return true;
    const QString name = m_pathName.isEmpty() ? m_title : QFileInfo(m_pathName).fileName();
    const QString text = platform::toQString(
        formatString1(frameworkString(ids::AFX_IDP_ASK_TO_SAVE), toU16String(name)));
    switch (showMessage(m_dialogParent, text, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return doFileSave();
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

const CommandMap& Document::classCommands()
{
    static const CommandEntry entries[] = {
        fx::onCommand<&Document::onFileSave>(ids::ID_FILE_SAVE),
        fx::onCommand<&Document::onFileSaveAs>(ids::ID_FILE_SAVE_AS),
    };
    static const CommandMap map{nullptr, entries};
    return map;
}

void Document::reportFileError(int osError, const QString& path)
{
    FileErrorCause cause = causeFromErrno(osError);
    // Only a file missing from a folder that is there is "not found"; a folder that is
    // missing (gone since the file was opened, say) makes the path a bad one.
    if (osError == ENOENT &&
        !shell::isFolder(shell::folderOf(QFile::encodeName(path).toStdString())))
        cause = FileErrorCause::BadPath;
    showMessage(m_dialogParent,
                platform::toQString(fileErrorMessage(cause, toU16String(path))),
                MsgIcon::Stop);
}

void Document::reportSaveLoadFailure(const Archive& archive, bool saving, const QString& path)
{
    switch (archive.failure()) {
    case ArchiveFailure::None:
    case ArchiveFailure::UserAbort:
        return;
    case ArchiveFailure::File:
        reportFileError(archive.osError(), path);
        return;
    case ArchiveFailure::EndOfFile:
        showMessage(m_dialogParent, str(ids::AFX_IDP_FAILED_INVALID_FORMAT), MsgIcon::Stop);
        return;
    case ArchiveFailure::OutOfMemory:
        showMessage(m_dialogParent,
                    str(saving ? ids::AFX_IDP_FAILED_TO_SAVE_DOC : ids::AFX_IDP_FAILED_TO_OPEN_DOC),
                    MsgIcon::Stop);
        return;
    }
}

QString proposedFileName(const QString& title, const QString& extension)
{
    QString name = title;
    const int bad = int(name.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]"))));
    if (bad >= 0)
        name.truncate(bad);
    return name + extension;
}

} // namespace platform::fx
