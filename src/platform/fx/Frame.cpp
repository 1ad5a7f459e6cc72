#include "platform/fx/Frame.h"

#include "platform/Utf16.h"
#include "platform/fx/App.h"
#include "platform/fx/Document.h"
#include "platform/fx/DropData.h"
#include "platform/fx/FrameworkIds.h"
#include "platform/fx/View.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QLabel>
#include <QMenu>
#include <QMetaMethod>
#include <QMenuBar>
#include <QMimeData>
#include <QShortcut>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

#include <algorithm>

namespace platform::fx {

namespace {

constexpr const char* kCommandProperty = "quilletCommand";

unsigned commandOf(const QAction* action)
{
    return action->property(kCommandProperty).toUInt();
}

} // namespace

Frame::Frame(Document* document)
    : m_document(document),
      m_router([this] {
          QList<CommandTarget*> targets;
          if (m_view)
              targets << m_view;
          if (m_document)
              targets << m_document;
          targets << this;
          if (App::instance())
              targets << App::instance();
          return targets;
      })
{
    setAcceptDrops(true);
    qApp->installEventFilter(this);
    if (auto* dispatcher = QAbstractEventDispatcher::instance())
        connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &Frame::scheduleIdle);
    if (m_document) {
        connect(m_document, &Document::titleChanged, this, &Frame::updateTitle);
        connect(m_document, &Document::modifiedChanged, this, [this] { m_idleDirty = true; });
    }
}

Frame::~Frame()
{
    qApp->removeEventFilter(this);
}

void Frame::setView(View* view)
{
    m_view = view;
    if (!view || !view->widget())
        return;
    QWidget* widget = view->widget();
    setCentralWidget(widget);
    // A caret or text that changes without an input event (an assistive technology moves or
    // edits it) brings the panes up to date too, when the view says so.
    const QMetaObject* meta = widget->metaObject();
    const int changed = meta->indexOfSignal("selectionChanged()");
    if (changed >= 0)
        connect(widget, meta->method(changed), this, metaObject()->method(metaObject()->indexOfSlot("markIdleDirty()")));
}

void Frame::markIdleDirty()
{
    m_idleDirty = true;
}

bool Frame::create()
{
    return OnCreate();
}

bool Frame::OnCreate()
{
    return true;
}

void Frame::initialUpdate()
{
    if (m_view)
        m_view->onInitialUpdate();
    updateTitle();
    m_idleDirty = true;
}

void Frame::updateTitle()
{
    const QString appTitle =
        toQString(m_strings(ids::AFX_IDS_APP_TITLE));
    const QString docTitle = m_document ? m_document->title() : QString();
    setWindowTitle(docTitle.isEmpty() ? appTitle : docTitle + QStringLiteral(" - ") + appTitle);
    // A screen reader names the text by its document.
    if (m_view && m_view->widget())
        m_view->widget()->setAccessibleName(docTitle);
}

QAction* Frame::makeAction(unsigned id, const QString& text, QObject* owner)
{
    auto* action = new QAction(text, owner ? owner : this);
    action->setProperty(kCommandProperty, id);
    const Prompt prompt = splitPrompt(m_strings(id));
    if (!prompt.tooltip.empty())
        action->setToolTip(toQString(prompt.tooltip));
    connect(action, &QAction::triggered, this, [this, id] { m_router.execute(id); });
    connect(action, &QAction::hovered, this, [this, id] { showPrompt(id); });
    return action;
}

void Frame::fillMenu(QMenu* menu, std::span<const MenuItem> items, QObject* owner)
{
    for (const MenuItem& item : items) {
        switch (item.kind) {
        case MenuItemKind::Separator:
            menu->addSeparator();
            break;
        case MenuItemKind::Popup: {
            QMenu* sub = menu->addMenu(toQString(item.text));
            fillMenu(sub, item.children, owner);
            break;
        }
        case MenuItemKind::Command: {
            QAction* action = m_actions.value(item.id);
            if (!action || action->text() != toQString(item.text)) {
                action = makeAction(item.id, toQString(item.text), owner);
                if (!owner && !m_actions.contains(item.id))
                    m_actions.insert(item.id, action);
            }
            if (item.grayed)
                action->setProperty("quilletGrayed", true);
            menu->addAction(action);
            break;
        }
        }
    }
    connect(menu, &QMenu::aboutToShow, this, [this, menu] {
        updateMenu(menu);
        onInitMenuPopup(menu);
    });
    connect(menu, &QMenu::aboutToHide, this, [this] { showPrompt(0); });
}

void Frame::buildMenuBar(std::span<const MenuItem> items)
{
    QMenuBar* bar = menuBar();
    for (const MenuItem& item : items) {
        if (item.kind != MenuItemKind::Popup)
            continue;
        QMenu* menu = bar->addMenu(toQString(item.text));
        fillMenu(menu, item.children);
    }
}

QMenu* Frame::buildPopup(std::span<const MenuItem> items, QWidget* parent)
{
    auto* menu = new QMenu(parent);
    fillMenu(menu, items, menu);
    return menu;
}

QMenu* Frame::popupMenu(int index) const
{
    const QList<QAction*> tops = menuBar()->actions();
    if (index < 0 || index >= tops.size())
        return nullptr;
    return tops[index]->menu();
}

void Frame::updateMenu(QMenu* menu)
{
    onInitMenu();
    rebuildRecentFileMenu(menu);
    for (QAction* action : menu->actions()) {
        const unsigned id = commandOf(action);
        if (id == 0 || action->menu())
            continue;
        const CmdUI ui = m_router.update(id);
        action->setEnabled(ui.enabled());
        if (ui.checked()) {
            action->setCheckable(true);
            action->setChecked(*ui.checked());
        }
        if (ui.text())
            action->setText(*ui.text());
    }
}

void Frame::rebuildRecentFileMenu(QMenu* menu)
{
    // The placeholder item stands where the recent files go; it is shown greyed when the
    // list is empty and hidden otherwise.
    QAction* placeholder = nullptr;
    for (QAction* a : menu->actions()) {
        if (commandOf(a) == ids::ID_FILE_MRU_FILE1 && !a->property("quilletRecent").toBool())
            placeholder = a;
    }
    if (!placeholder)
        return;
    for (QAction* a : menu->actions()) {
        if (a->property("quilletRecent").toBool()) {
            menu->removeAction(a);
            a->deleteLater();
        }
    }
    RecentFileList* recent = App::instance() ? App::instance()->recentFiles() : nullptr;
    const int count = recent ? int(recent->entries().size()) : 0;
    placeholder->setVisible(count == 0);
    placeholder->setProperty(kCommandProperty, count == 0 ? ids::ID_FILE_MRU_FILE1 : 0u);
    placeholder->setEnabled(false);
    const std::u16string cwd = platform::toU16String(QDir::currentPath());
    for (int i = 0; i < count; ++i) {
        const unsigned id = ids::ID_FILE_MRU_FILE1 + unsigned(i);
        QString name = platform::toQString(recent->displayName(i, cwd));
        name.replace(QLatin1Char('&'), QStringLiteral("&&"));
        QAction* a = makeAction(id, QStringLiteral("&%1 %2").arg(i + 1).arg(name));
        a->setProperty("quilletRecent", true);
        menu->insertAction(placeholder, a);
    }
    // Restores the placeholder's id so that the next opening finds it again.
    placeholder->setProperty(kCommandProperty, ids::ID_FILE_MRU_FILE1);
}

bool Frame::createToolBar(std::span<const unsigned> buttons, const IconLoader& icons)
{
    m_toolBar = addToolBar(QString());
    m_toolBar->setObjectName(QStringLiteral("toolbar"));
    m_toolBar->setIconSize(QSize(16, 16));
    m_toolBar->setMovable(true);
    m_toolBar->setProperty(kCommandProperty, ids::AFX_IDW_TOOLBAR);
    for (const unsigned command : buttons) {
        if (command == ids::ID_SEPARATOR) {
            m_toolBar->addSeparator();
            continue;
        }
        QAction* action = m_actions.value(command);
        if (!action) {
            action = makeAction(command, QString());
            m_actions.insert(command, action);
        }
        if (action->icon().isNull())
            action->setIcon(icons ? icons(command) : QIcon());
        if (action->icon().isNull()) {
            // No icon in this desktop's theme: the button shows its tooltip text instead.
            action->setIconText(action->toolTip());
        }
        m_toolBar->addAction(action);
    }
    return true;
}

bool Frame::createStatusBar(std::span<const unsigned> paneIds)
{
    QStatusBar* bar = statusBar();
    bar->setObjectName(QStringLiteral("statusbar"));
    m_messagePane = new QLabel(bar);
    bar->addWidget(m_messagePane, 1);
    for (unsigned id : paneIds) {
        if (id == 0)
            continue;  // the message pane
        auto* label = new StatusPane(bar);
        // The pane's string gives its width until an update handler sets one.
        label->fitTextWidth(label->fontMetrics().horizontalAdvance(toQString(m_strings(id))));
        bar->addPermanentWidget(label);
        m_panes.insert(id, label);
        m_paneOrder << id;
    }
    showPrompt(0);
    return true;
}

void Frame::installAccelerators(std::span<const KeyBinding> accelerators)
{
    for (const KeyBinding& acc : accelerators) {
        const QKeySequence& keys = acc.keys;
        if (keys.isEmpty())
            continue;
        auto* shortcut = new QShortcut(keys, this);
        shortcut->setContext(Qt::WindowShortcut);
        shortcut->setAutoRepeat(true);
        const unsigned id = acc.command;
        connect(shortcut, &QShortcut::activated, this, [this, id] {
            m_router.execute(id);
            m_idleDirty = true;
        });
        connect(shortcut, &QShortcut::activatedAmbiguously, this, [this, id] {
            m_router.execute(id);
        });
    }
}

void Frame::showPrompt(unsigned id)
{
    if (!m_messagePane)
        return;
    QString text;
    if (id != 0)
        text = toQString(splitPrompt(m_strings(id)).statusText);
    if (text.isEmpty())
        text = toQString(m_strings(ids::AFX_IDS_IDLEMESSAGE));
    m_messagePane->setText(text);
}

void Frame::scheduleIdle()
{
    if (!m_idleDirty || m_idlePending)
        return;
    m_idlePending = true;
    QTimer::singleShot(0, this, [this] {
        m_idlePending = false;
        m_idleDirty = false;
        updateIdle();
    });
}

void Frame::updateIdle()
{
    if (m_toolBar && m_toolBar->isVisible()) {
        for (QAction* action : m_toolBar->actions()) {
            const unsigned id = commandOf(action);
            if (id != 0)
                action->setEnabled(m_router.update(id).enabled());
        }
    }
    // Nothing in the status bar changes while it is hidden.
    if (statusBar()->isVisible()) {
        for (unsigned id : m_paneOrder) {
            CmdUI ui = m_router.update(id);
            StatusPane* label = m_panes.value(id);
            if (ui.text())
                label->setText(ui.enabled() ? *ui.text() : QString());
            else if (!ui.enabled())
                label->clear();
            if (ui.fitsToText() && ui.text())
                label->fitTextWidth(label->fontMetrics().horizontalAdvance(*ui.text()));
        }
    }
}

const CommandMap& Frame::classCommands()
{
    using F = Frame;
    static const CommandEntry entries[] = {
        fx::onCommand<&F::onViewToolBar, &F::onUpdateViewToolBar>(ids::ID_VIEW_TOOLBAR),
        fx::onCommand<&F::onViewStatusBar, &F::onUpdateViewStatusBar>(ids::ID_VIEW_STATUS_BAR),
        onUpdateOnly<&F::onUpdateKeyIndicator>(ids::ID_INDICATOR_KANA),
        onUpdateOnly<&F::onUpdateKeyIndicator>(ids::ID_INDICATOR_CAPS),
        onUpdateOnly<&F::onUpdateKeyIndicator>(ids::ID_INDICATOR_NUM),
        onUpdateOnly<&F::onUpdateKeyIndicator>(ids::ID_INDICATOR_SCRL),
    };
    static const CommandMap map{nullptr, entries};
    return map;
}

void Frame::onViewToolBar()
{
    if (m_toolBar)
        m_toolBar->setVisible(!m_toolBar->isVisible());
}

void Frame::onViewStatusBar()
{
    statusBar()->setVisible(!statusBar()->isVisible());
}

void Frame::onUpdateViewToolBar(CmdUI& ui)
{
    ui.enable(m_toolBar != nullptr);
    ui.setCheck(m_toolBar && m_toolBar->isVisible());
}

void Frame::onUpdateViewStatusBar(CmdUI& ui)
{
    ui.setCheck(statusBar()->isVisible());
}

void Frame::onUpdateKeyIndicator(CmdUI& ui)
{
    // Qt tells nothing of the lock keys; the panes stay blank rather than show a guess.
    ui.enable(false);
}

void Frame::destroyWindow()
{
    if (!m_destroyed) {
        m_destroyed = true;
        onDestroy();
        if (m_view)
            m_view->onDestroy();
    }
    hide();
}

void Frame::closeEvent(QCloseEvent* event)
{
    if (!m_destroyed && m_document && !m_document->saveModified()) {
        event->ignore();
        return;
    }
    destroyWindow();
    event->accept();
}

namespace {

// A dropped file is opened, never taken: the drop copies (or links) whatever the source
// proposes, so that a file manager that offered a move does not remove the file after it.
// A source that allows nothing but a move is refused, and so is anything but files (a link
// dragged from a browser), which the text view takes as text where it carries some.
bool acceptAsCopy(QDropEvent* event)
{
    const Qt::DropActions possible = event->possibleActions();
    if (!isFileDrop(event->mimeData()) || !(possible & (Qt::CopyAction | Qt::LinkAction))) {
        event->ignore();
        return false;
    }
    event->setDropAction(possible & Qt::CopyAction ? Qt::CopyAction : Qt::LinkAction);
    event->accept();
    return true;
}

} // namespace

void Frame::dragEnterEvent(QDragEnterEvent* event)
{
    acceptAsCopy(event);
}

void Frame::dragMoveEvent(QDragMoveEvent* event)
{
    acceptAsCopy(event);
}

void Frame::dropEvent(QDropEvent* event)
{
    if (!acceptAsCopy(event))
        return;
    const QList<QUrl> urls = event->mimeData()->urls();
    raise();
    activateWindow();
    // Each file opens in turn; the last one stays the document.
    for (const QUrl& url : urls) {
        if (App::instance())
            App::instance()->openDocumentFile(url.toLocalFile());
    }
}

bool Frame::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::InputMethod:
    case QEvent::FocusIn:
    case QEvent::Drop:
    case QEvent::WindowActivate:
    case QEvent::Show:
    case QEvent::Clipboard:
        m_idleDirty = true;
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace platform::fx
