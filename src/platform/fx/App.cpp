#include "platform/fx/App.h"

#include "platform/fx/Document.h"
#include "platform/fx/Frame.h"
#include "platform/fx/UiHost.h"
#include "platform/profile/Profile.h"
#include "res/Resource.h"
#include "res/Strings.h"

#include <QApplication>
#include <QDir>

namespace platform::fx {

namespace {

App* g_app = nullptr;

std::u16string u16(const QString& s)
{
    return s.toStdU16String();
}

const QString kRecentSection = QStringLiteral("Recent File List");
const QString kRecentKey = QStringLiteral("File%1");
const QString kSettings = QStringLiteral("Settings");
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
    return m_profile ? m_profile->readInt(u16(section), u16(key), defaultValue) : defaultValue;
}

QString App::getProfileString(const QString& section, const QString& key,
                              const QString& defaultValue) const
{
    if (!m_profile)
        return defaultValue;
    return QString::fromStdU16String(
        m_profile->readString(u16(section), u16(key), u16(defaultValue)));
}

std::optional<QByteArray> App::getProfileBinary(const QString& section, const QString& key) const
{
    if (!m_profile)
        return std::nullopt;
    const auto bytes = m_profile->readBinary(u16(section), u16(key));
    if (!bytes)
        return std::nullopt;
    return QByteArray(reinterpret_cast<const char*>(bytes->data()), qsizetype(bytes->size()));
}

bool App::writeProfileInt(const QString& section, const QString& key, int value)
{
    return m_profile && m_profile->writeInt(u16(section), u16(key), value);
}

bool App::writeProfileString(const QString& section, const QString& key, const QString& value)
{
    return m_profile && m_profile->writeString(u16(section), u16(key), u16(value));
}

bool App::writeProfileBinary(const QString& section, const QString& key, const QByteArray& bytes)
{
    return m_profile
        && m_profile->writeBinary(u16(section), u16(key),
                                  std::span(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                            std::size_t(bytes.size())));
}

void App::loadStdProfileSettings(int recentCount)
{
    m_recentCount = recentCount;
    m_recent = std::make_unique<RecentFileList>(recentCount, 30);
    std::vector<std::u16string> paths;
    for (int i = 1; i <= recentCount; ++i)
        paths.push_back(u16(getProfileString(kRecentSection, kRecentKey.arg(i))));
    m_recent->assign(paths);
    m_previewPages = getProfileInt(kSettings, kPreviewPages, 0);
}

void App::saveStdProfileSettings()
{
    if (m_recent && m_profile) {
        std::vector<profile::IniEntry> entries;
        int n = 1;
        for (const std::u16string& path : m_recent->entries())
            entries.push_back({u16(kRecentKey.arg(n++)), path});
        m_profile->writeSection(u16(kRecentSection), entries);
    }
    if (m_previewPages != 0)
        writeProfileInt(kSettings, kPreviewPages, m_previewPages);
}

void App::addToRecentFileList(const QString& path)
{
    if (m_recent)
        m_recent->add(u16(path));
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
        showMessage(nullptr, QString::fromStdU16String(
                                 std::u16string(res::loadString(res::AFX_IDP_FAILED_TO_CREATE_DOC))),
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
    request.title = QString::fromStdU16String(std::u16string(res::loadString(res::AFX_IDS_OPENFILE)));
    request.filters = Document::fileFilters();
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
        return 1;
    }
    const int code = QApplication::exec();
    if (m_frame)
        m_frame->destroyWindow();
    exitInstance();
    return code;
}

bool App::onCommand(unsigned id)
{
    if (id == res::ID_FILE_NEW) {
        onFileNew();
        return true;
    }
    if (id == res::ID_FILE_OPEN) {
        onFileOpen();
        return true;
    }
    if (id == res::ID_APP_EXIT) {
        if (m_frame)
            m_frame->close();
        return true;
    }
    if (id >= res::ID_FILE_MRU_FILE1 && id < res::ID_FILE_MRU_FILE1 + unsigned(m_recentCount)) {
        const int index = int(id - res::ID_FILE_MRU_FILE1);
        if (!m_recent || index >= int(m_recent->entries().size()))
            return true;
        const QString path = QString::fromStdU16String(m_recent->entries()[index]);
        // An entry that no longer opens leaves the list, as a file that failed to open.
        if (!openDocumentFile(path) && !QFile::exists(path))
            m_recent->remove(index);
        return true;
    }
    return false;
}

bool App::onUpdate(CmdUI& ui)
{
    const unsigned id = ui.id();
    if (id == res::ID_FILE_NEW || id == res::ID_FILE_OPEN || id == res::ID_APP_EXIT) {
        ui.enable(true);
        return true;
    }
    if (id >= res::ID_FILE_MRU_FILE1 && id < res::ID_FILE_MRU_FILE1 + unsigned(m_recentCount)) {
        ui.enable(m_recent && int(id - res::ID_FILE_MRU_FILE1) < int(m_recent->entries().size()));
        return true;
    }
    return false;
}

} // namespace platform::fx
