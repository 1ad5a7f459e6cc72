#include "platform/fx/App.h"

#include "platform/fx/Document.h"
#include "platform/fx/EndRequests.h"
#include "platform/fx/Frame.h"
#include "platform/fx/UiHost.h"
#include "platform/profile/Profile.h"
#include "platform/Utf16.h"
#include "platform/fx/FrameworkIds.h"
#include "platform/fx/FrameworkStrings.h"

#include <QApplication>
#include <QDir>

namespace platform::fx {

namespace {

App* g_app = nullptr;

const QString kRecentSection = QStringLiteral("Recent File List");
const QString kRecentKey = QStringLiteral("File%1");
const QString kPreviewPages = QStringLiteral("PreviewPages");

} // namespace

App::App()
{
    g_app = this;
}

App::~App()
{
    if (g_app == this)
        g_app = nullptr;
}

App* App::instance()
{
    return g_app;
}

void App::setProfilePath(const std::string& path)
{
    m_profile = std::make_unique<profile::IniFile>(path);
}

std::string App::profilePath() const
{
    return m_profile ? m_profile->path() : std::string();
}

int App::getProfileInt(const QString& section, const QString& key, int defaultValue) const
{
    return m_profile ? m_profile->readInt(toU16String(section), toU16String(key), defaultValue)
                     : defaultValue;
}

QString App::getProfileString(const QString& section, const QString& key,
                              const QString& defaultValue) const
{
    if (!m_profile)
        return defaultValue;
    return platform::toQString(
        m_profile->readString(toU16String(section), toU16String(key), toU16String(defaultValue)));
}

std::optional<QByteArray> App::getProfileBinary(const QString& section, const QString& key) const
{
    if (!m_profile)
        return std::nullopt;
    const auto bytes = m_profile->readBinary(toU16String(section), toU16String(key));
    if (!bytes)
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size()));
}

bool App::writeProfileInt(const QString& section, const QString& key, int value)
{
    return m_profile && m_profile->writeInt(toU16String(section), toU16String(key), value);
}

bool App::writeProfileString(const QString& section, const QString& key, const QString& value)
{
    return m_profile
        && m_profile->writeString(toU16String(section), toU16String(key), toU16String(value));
}

bool App::writeProfileBinary(const QString& section, const QString& key, const QByteArray& bytes)
{
    return m_profile
        && m_profile->writeBinary(toU16String(section), toU16String(key),
                                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            std::size_t(bytes.size())));
}

void App::loadStdProfileSettings(int recentCount)
{
    m_recentCount = recentCount;
    m_recent = std::make_unique<RecentFileList>(recentCount, 30);
    std::vector<std::u16string> paths;
    for (int i = 1; i <= recentCount; ++i)
        paths.push_back(toU16String(getProfileString(kRecentSection, kRecentKey.arg(i))));
    m_recent->assign(paths);
    m_previewPages = getProfileInt(kSettingsSection, kPreviewPages, 0);
}

void App::saveStdProfileSettings()
{
    if (m_recent && m_profile) {
        std::vector<profile::IniEntry> entries;
        int n = 1;
        for (const std::u16string& path : m_recent->entries())
            entries.push_back({toU16String(kRecentKey.arg(n++)), path});
        m_profile->writeSection(toU16String(kRecentSection), entries);
    }
    if (m_previewPages != 0)
        writeProfileInt(kSettingsSection, kPreviewPages, m_previewPages);
}

void App::addToRecentFileList(const QString& path)
{
    if (m_recent)
        m_recent->add(toU16String(path));
}

bool App::ensureDocumentAndFrame()
{
    if (m_document && m_frame)
        return true;
    if (!m_template.createDocument || !m_template.createFrame)
        return false;
    m_document = m_template.createDocument();
    m_frame = m_template.createFrame(m_document);
    if (!m_frame) {
        showMessage(nullptr, toQString(frameworkString(ids::AFX_IDP_FAILED_TO_CREATE_DOC)),
                    MsgIcon::Stop);
        delete m_document;
        m_document = nullptr;
        return false;
    }
    m_document->setDialogParent(m_frame);
    return true;
}

bool App::newDocument()
{
    const bool first = !m_document;
    if (!ensureDocumentAndFrame())
        return false;
    if (!first && !m_document->saveModified())
        return false;
    if (!m_document->onNewDocument())
        return false;
    m_frame->initialUpdate();
    return true;
}

bool App::openDocumentFile(const QString& path)
{
    const bool first = !m_document;
    if (!ensureDocumentAndFrame())
        return false;
    if (!first && !m_document->saveModified())
        return false;
    const bool wasModified = m_document->isModified();
    m_document->setModifiedFlag(false);
    if (!m_document->onOpenDocument(path)) {
        if (!m_document->isModified()) {
            // The file could not be opened at all: the old text is untouched.
            m_document->setModifiedFlag(wasModified);
        } else {
            // The load spoilt the old text: start a new untitled one.
            m_document->onNewDocument();
            m_frame->initialUpdate();
        }
        return false;
    }
    m_document->setPathName(path);
    addToRecentFileList(m_document->pathName());
    m_frame->initialUpdate();
    return true;
}

void App::onFileNew()
{
    newDocument();
}

void App::onFileOpen()
{
    FileDialogRequest request;
    request.mode = FileDialogRequest::Mode::Open;
    request.title = toQString(frameworkString(ids::AFX_IDS_OPENFILE));
    request.filters = m_document ? m_document->fileFilters() : QList<FileFilter>{};
    const auto path = UiHost::current().fileDialog(m_frame, request);
    if (path)
        openDocumentFile(*path);
}

int App::exitInstance()
{
    saveStdProfileSettings();
    return 0;
}

int App::run()
{
    if (!initInstance()) {
        // A frame made before start-up failed goes without a question; it stores its
        // placement and the view its settings, as at any end.
        if (m_frame)
            m_frame->destroyWindow();
        exitInstance();
        return m_startupExitCode;
    }
    EndRequests endRequests([this] { return closeOnRequest(); });
    const int code = QApplication::exec();
    if (m_frame)
        m_frame->destroyWindow();
    exitInstance();
    return code;
}

const CommandMap& App::classCommands()
{
    static const CommandEntry entries[] = {
        fx::onCommand<&App::onFileNew>(ids::ID_FILE_NEW),
        fx::onCommand<&App::onFileOpen>(ids::ID_FILE_OPEN),
        fx::onCommand<&App::onAppExit>(ids::ID_APP_EXIT),
        onCommandRange<&App::onFileMru, &App::onUpdateFileMru>(ids::ID_FILE_MRU_FIRST,
                                                               ids::ID_FILE_MRU_LAST),
    };
    static const CommandMap map{nullptr, entries};
    return map;
}

bool App::closeOnRequest()
{
    if (!m_frame || !m_frame->isVisible()) {
        QCoreApplication::quit();
        return true;
    }
    return m_frame->close();
}

void App::onAppExit()
{
    if (m_frame)
        m_frame->close();
}

void App::onFileMru(unsigned id)
{
    const int index = int(id - ids::ID_FILE_MRU_FIRST);
    // Entries past the list's length (up to the range's sixteen) are disabled; a program
    // sending one itself gets nothing.
    if (!m_recent || index >= m_recentCount || index >= int(m_recent->entries().size()))
        return;
    const QString path = platform::toQString(m_recent->entries()[index]);
    // An entry that no longer opens leaves the list, as a file that failed to open.
    if (!openDocumentFile(path) && !QFile::exists(path))
        m_recent->remove(index);
}

void App::onUpdateFileMru(CmdUI& ui)
{
    const int index = int(ui.id() - ids::ID_FILE_MRU_FIRST);
    ui.enable(m_recent && index < m_recentCount && index < int(m_recent->entries().size()));
}

} // namespace platform::fx
