#include "platform/fx/Document.h"

#include "platform/fx/App.h"
#include "platform/fx/FileError.h"
#include "platform/fx/UiHost.h"
#include "platform/shell/AtomicFile.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::fx {

namespace {

QString str(unsigned id)
{
    const std::u16string_view s = res::loadString(id);
    return QString::fromUtf16(s.data(), qsizetype(s.size()));
}

std::u16string toU16(const QString& s)
{
    return std::u16string(reinterpret_cast<const char16_t*>(s.utf16()), std::size_t(s.size()));
}

// The document type string's fields, separated by line feeds: window title, document name,
// new-file name, filter name, filter extension, type id, type name.
QString docTypeField(int index)
{
    return str(res::IDR_MAINFRAME).split(QLatin1Char('\n')).value(index);
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

QList<FileFilter> Document::fileFilters()
{
    const QString ext = docTypeField(4);  // ".txt"
    return {
        FileFilter{docTypeField(3), QLatin1Char('*') + ext},
        FileFilter{str(res::AFX_IDS_ALLFILTER), QStringLiteral("*")},
    };
}

bool Document::onNewDocument()
{
    deleteContents();
    m_pathName.clear();
    setTitle(str(res::AFX_IDS_UNTITLED));
    setModifiedFlag(false);
    return true;
}

bool Document::onOpenDocument(const QString& path)
{
    const QByteArray native = QFile::encodeName(path);
    // Non-blocking, so that a FIFO without a writer cannot hang the program in open().
    const int fd = ::open(native.constData(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    struct stat st {};
    int error = 0;
    if (fd < 0 || ::fstat(fd, &st) != 0)
        error = errno;
    else if (S_ISDIR(st.st_mode))
        error = EISDIR;
    else if (!S_ISREG(st.st_mode))
        error = EACCES;  // a FIFO, socket or device is no text file: refused like a folder
    if (error != 0) {
        if (fd >= 0)
            ::close(fd);
        reportFileError(error, path);
        return false;
    }

    deleteContents();
    setModifiedFlag(true);  // spoilt until the load succeeds
    Archive archive = Archive::forLoading(fd, std::int64_t(st.st_size), toU16(path));
    if (st.st_size != 0)
        serialize(archive);
    ::close(fd);
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
    Archive archive = Archive::forStoring(toU16(path));
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
            name = proposedFileName(m_title);
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode::Save;
        request.title = str(res::AFX_IDS_SAVEFILE);
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
    if (!m_pathName.isEmpty()) {
        const QByteArray native = QFile::encodeName(m_pathName);
        // A read-only file is saved under another name, as the user chooses.
        if (::access(native.constData(), F_OK) == 0 && ::access(native.constData(), W_OK) != 0)
            return doSave(QString());
    }
    return doSave(m_pathName);
}

bool Document::saveModified()
{
    if (!m_modified)
        return true;
    const QString name = m_pathName.isEmpty() ? m_title : QFileInfo(m_pathName).fileName();
    const QString text =
        QString::fromStdU16String(res::formatString1(res::loadString(res::AFX_IDP_ASK_TO_SAVE), toU16(name)));
    switch (showMessage(m_dialogParent, text, MsgIcon::Question, MsgButtons::YesNoCancel)) {
    case MsgAnswer::Yes:
        return doFileSave();
    case MsgAnswer::No:
        return true;
    default:
        return false;
    }
}

bool Document::onCommand(unsigned id)
{
    switch (id) {
    case res::ID_FILE_SAVE:
        doFileSave();
        return true;
    case res::ID_FILE_SAVE_AS:
        doSave(QString());
        return true;
    default:
        return false;
    }
}

bool Document::onUpdate(CmdUI& ui)
{
    if (ui.id() == res::ID_FILE_SAVE || ui.id() == res::ID_FILE_SAVE_AS) {
        ui.enable(true);
        return true;
    }
    return false;
}

void Document::reportFileError(int osError, const QString& path)
{
    const FileErrorCause cause = causeFromErrno(osError);
    showMessage(m_dialogParent,
                QString::fromStdU16String(fileErrorMessage(cause, toU16(path))), MsgIcon::Stop);
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
        showMessage(m_dialogParent, str(res::AFX_IDP_FAILED_INVALID_FORMAT), MsgIcon::Stop);
        return;
    case ArchiveFailure::OutOfMemory:
        showMessage(m_dialogParent,
                    str(saving ? res::AFX_IDP_FAILED_TO_SAVE_DOC : res::AFX_IDP_FAILED_TO_OPEN_DOC),
                    MsgIcon::Stop);
        return;
    }
}

QString proposedFileName(const QString& title)
{
    QString name = title;
    const int bad = int(name.indexOf(QRegularExpression(QStringLiteral("[ #%;/\\\\]"))));
    if (bad >= 0)
        name.truncate(bad);
    return name + docTypeField(4);
}

} // namespace platform::fx
