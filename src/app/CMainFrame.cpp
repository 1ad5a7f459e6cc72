#include "app/CMainFrame.h"

#include "app/CRecoveryKeeper.h"
#include "app/ToolbarIcons.h"
#include "doc/CMyDoc.h"
#include "doc/RecoveryFolder.h"
#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/PlacementFit.h"
#include "platform/fx/UiHost.h"
#include "platform/fx/WindowPlacement.h"
#include "platform/profile/SettingsPath.h"
#include "platform/shell/Files.h"
#include "res/Accelerators.h"
#include "res/Menus.h"
#include "res/Resource.h"
#include "res/Strings.h"
#include "view/CMyView.h"

#include <QDesktopServices>
#include <QGuiApplication>
#include <QScreen>
#include <QFileInfo>
#include <QStatusBar>
#include <QStyle>
#include <QUrl>
#include <cerrno>
#include <optional>
#include <vector>

namespace {

using platform::fx::kSettingsSection;
const QString kWindow = QStringLiteral("Window");

// The status bar's panes, left to right; 0 is the message pane.
constexpr unsigned kIndicators[] = {
    res::ID_SEPARATOR,
    res::ID_INDICATOR_POSITION,
    res::ID_INDICATOR_CODEPAGE,
    res::ID_INDICATOR_KANA,
    res::ID_INDICATOR_CAPS,
    res::ID_INDICATOR_NUM,
    res::ID_INDICATOR_SCRL,
};

// Where the stored normal rectangle puts the window on today's screens; nothing when the
// rectangle makes no sense and the default place is kept.
std::optional<QRect> placeOnScreens(const platform::fx::WindowPlacement& placement, int titleHeight)
{
    std::vector<platform::fx::ScreenRect> areas;
    std::size_t primary = 0;
    for (const QScreen* screen : QGuiApplication::screens()) {
        if (screen == QGuiApplication::primaryScreen())
            primary = areas.size();
        const QRect a = screen->availableGeometry();
        areas.push_back({a.left(), a.top(), std::int64_t(a.left()) + a.width(),
                         std::int64_t(a.top()) + a.height()});
    }
    const auto fitted = platform::fx::fitPlacement(
        {placement.left, placement.top, placement.right, placement.bottom}, areas, primary,
        titleHeight);
    if (fitted.fit == platform::fx::PlacementFit::Default)
        return std::nullopt;
    const auto& r = fitted.rect;
    return QRect(int(r.left), int(r.top), int(r.width()), int(r.height()));
}

} // namespace

CMainFrame::CMainFrame(CMyDoc* document) : platform::fx::Frame(document)
{
    setObjectName(QStringLiteral("CMainFrame"));
    setStrings(&res::loadString);
    // Without a stored placement the window takes a good part of the screen.
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->availableGeometry();
        resize(area.width() * 3 / 4, area.height() * 3 / 4);
    }
}

// The keeper goes before the view it watches (a member, it dies before the frame's children).
CMainFrame::~CMainFrame() = default;

bool CMainFrame::OnCreate()
{
    buildMenuBar(res::mainMenu());
    if (!createToolBar(res::toolbarButtons(),
                       [this](unsigned id) { return toolbarIcon(id, style()); }))
        return false;
    if (!createStatusBar(kIndicators))
        return false;
    std::vector<platform::fx::KeyBinding> keys;
    for (const res::Accelerator& acc : res::accelerators()) {
        const QString text = platform::toQString(res::acceleratorText(acc));
        keys.push_back({QKeySequence::fromString(text, QKeySequence::PortableText), acc.command});
    }
    installAccelerators(keys);

    // The view lives as long as the frame.
    m_pView = new CMyView(this);
    if (!m_pView->OnCreate()) {
        delete m_pView;
        m_pView = nullptr;
        return false;
    }
    setView(m_pView);
    auto* doc = static_cast<CMyDoc*>(document());
    doc->setView(m_pView);
    connect(m_pView, &platform::EditControl::textChanged, doc,
            [doc] { doc->setModifiedFlag(true); });
    // After the connection above: a change has made the document modified when the keeper
    // hears of it.
    m_pRecovery = std::make_unique<CRecoveryKeeper>(
        doc, m_pView, doc::recoveryFolder(doc::RecoveryFolderInputs::fromProcess()));
    doc->setRecovery(m_pRecovery.get());
    m_pView->setFocus();
    JoinClipboardViewers();
    m_bStartMaximized = RestoreWindowPlacement();
    return true;
}

void CMainFrame::showEvent(QShowEvent* event)
{
    m_bEverShown = true;
    platform::fx::Frame::showEvent(event);
}

void CMainFrame::onDestroy()
{
    SaveWindowPlacement();
    LeaveClipboardViewers();
    // The normal end: whatever the save question's answer was, the record goes.
    if (m_pRecovery) {
        static_cast<CMyDoc*>(document())->setRecovery(nullptr);
        m_pRecovery->End();
    }
}

void CMainFrame::initialUpdate()
{
    platform::fx::Frame::initialUpdate();
    if (m_pRecovery)
        m_pRecovery->RestoreTaken();
}

bool CMainFrame::RestoreWindowPlacement()
{
    auto* app = platform::fx::App::instance();
    if (!app)
        return false;
    const auto value = app->getProfileBinary(kSettingsSection, kWindow);
    if (!value)
        return false;
    const auto placement = platform::fx::WindowPlacement::fromBytes(std::span(
        reinterpret_cast<const std::uint8_t*>(value->constData()), std::size_t(value->size())));
    if (!placement)
        return false;
    // A place on a screen that is no longer there is moved onto one that is; the setting
    // itself changes only when the window next closes. The window manager's title bar is
    // not known before the window is shown; the style's is as good a measure.
    const int titleHeight = style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, this);
    if (const auto rect = placeOnScreens(*placement, titleHeight))
        setGeometry(*rect);
    // Maximized comes back maximized; minimized comes back in its normal state.
    return placement->showCmd == platform::fx::WindowPlacement::kShowMaximized;
}

void CMainFrame::SaveWindowPlacement()
{
    auto* app = platform::fx::App::instance();
    if (!app)
        return;
    platform::fx::WindowPlacement p;
    const bool maximized = isMaximized() || (!m_bEverShown && m_bStartMaximized);
    p.showCmd = maximized       ? platform::fx::WindowPlacement::kShowMaximized
              : isMinimized()   ? platform::fx::WindowPlacement::kShowMinimized
                                : platform::fx::WindowPlacement::kShowNormal;
    const QRect normal = normalGeometry().isValid() ? normalGeometry() : geometry();
    p.left = normal.left();
    p.top = normal.top();
    p.right = normal.left() + normal.width();
    p.bottom = normal.top() + normal.height();
    const auto bytes = p.toBytes();
    app->writeProfileBinary(kSettingsSection, kWindow,
                            QByteArray(reinterpret_cast<const char*>(bytes.data()),
                                       qsizetype(bytes.size())));
}

QString CMainFrame::ReadmePath()
{
    return ReadmePath(platform::profile::SettingsPathInputs::fromProcess().programPath);
}

QString CMainFrame::ReadmePath(const std::string& programPath)
{
    const QString beside =
        QString::fromStdString(platform::profile::pathBesideProgram(programPath, ".htm"));
    // An installed program finds it where installation puts documentation.
    const QString installed = QString::fromStdString(platform::shell::joinPath(
        platform::shell::folderOf(programPath), "../share/doc/quillet/quillet.htm"));
    if (!QFileInfo(beside).isFile() && QFileInfo(installed).isFile())
        return QFileInfo(installed).canonicalFilePath();
    return beside;
}

void CMainFrame::OnReadme()
{
    const QString path = ReadmePath();
    int error = 0;
    if (!QFileInfo(path).isFile())
        error = ENOENT;
    else if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path)))
        error = ENOEXEC;  // nothing on this desktop opens it
    if (error == 0)
        return;
    const QString text = platform::toQString(
        res::formatStrings(res::loadString(res::IDP_README_OPEN_FAILED),
                           {platform::toU16String(path),
                            platform::toU16String(QString::number(error))}));
    platform::fx::showMessage(this, text, platform::fx::MsgIcon::Exclamation);
}

