// What carries over from one run to the next (window placement, recent files) and files
// dropped on the window.
#include "ShellTestSupport.h"

#include "platform/fx/WindowPlacement.h"

#include <QMenu>
#include <QMimeData>
#include <QScreen>
#include <QUrl>

using namespace quillet_test;
using platform::fx::WindowPlacement;

namespace {

class Session : public ShellTest {
protected:
    std::optional<WindowPlacement> storedPlacement() const
    {
        const auto bytes = settings().readBinary(u"Settings", u"Window");
        if (!bytes)
            return std::nullopt;
        EXPECT_EQ(bytes->size(), 44u);
        return WindowPlacement::fromBytes(*bytes);
    }

    void openThroughDialog(const QString& path)
    {
        ui.answerFile(path);
        frame()->executeCommand(res::ID_FILE_OPEN);
    }

    // The recent-file items of the File menu, as the user sees them after opening it.
    QList<QAction*> recentItems() const
    {
        QMenu* file = frame()->popupMenu(0);
        frame()->updateMenu(file);
        QList<QAction*> items;
        for (QAction* a : file->actions()) {
            const unsigned id = a->property("quilletCommand").toUInt();
            if (a->isVisible() && id >= res::ID_FILE_MRU_FIRST && id <= res::ID_FILE_MRU_LAST)
                items << a;
        }
        return items;
    }

    QStringList recentTexts() const
    {
        QStringList texts;
        for (const QAction* a : recentItems())
            texts << a->text();
        return texts;
    }

    // Drops urls the way the system delivers a drag: enter, then drop, at a point of target.
    static void drop(QWidget* target, const QList<QUrl>& urls)
    {
        QMimeData data;
        data.setUrls(urls);
        const QPoint at = target->rect().center();
        QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &enter);
        QDropEvent dropEvent(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &dropEvent);
    }
};

} // namespace

TEST_F(Session, ANormalWindowComesBackWhereItWas)
{
    ASSERT_TRUE(start());
    frame()->setGeometry(100, 120, 640, 480);
    QApplication::processEvents();
    quit();

    const auto stored = storedPlacement();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->length, 44);
    EXPECT_EQ(stored->showCmd, WindowPlacement::kShowNormal);
    EXPECT_EQ(stored->left, 100);
    EXPECT_EQ(stored->top, 120);
    EXPECT_EQ(stored->right, 740);
    EXPECT_EQ(stored->bottom, 600);

    ASSERT_TRUE(start());
    EXPECT_EQ(frame()->geometry(), QRect(100, 120, 640, 480));
    EXPECT_FALSE(frame()->isMaximized());
}

TEST_F(Session, AMaximizedWindowComesBackMaximizedWithItsNormalPlace)
{
    ASSERT_TRUE(start());
    frame()->setGeometry(50, 60, 500, 400);
    QApplication::processEvents();
    frame()->showMaximized();
    QApplication::processEvents();
    ASSERT_TRUE(frame()->isMaximized());
    quit();

    const auto stored = storedPlacement();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->showCmd, WindowPlacement::kShowMaximized);
    EXPECT_EQ(QRect(QPoint(stored->left, stored->top), QPoint(stored->right - 1, stored->bottom - 1)),
              QRect(50, 60, 500, 400));

    ASSERT_TRUE(start());
    EXPECT_TRUE(frame()->isMaximized());
    EXPECT_EQ(frame()->normalGeometry(), QRect(50, 60, 500, 400));
}

TEST_F(Session, AMinimizedWindowComesBackNormal)
{
    ASSERT_TRUE(start());
    frame()->setGeometry(70, 80, 600, 300);
    QApplication::processEvents();
    frame()->showMinimized();
    QApplication::processEvents();
    quit();

    const auto stored = storedPlacement();
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->showCmd, WindowPlacement::kShowMinimized);

    ASSERT_TRUE(start());
    EXPECT_FALSE(frame()->isMinimized());
    EXPECT_FALSE(frame()->isMaximized());
    EXPECT_EQ(frame()->geometry(), QRect(70, 80, 600, 300));
}

TEST_F(Session, AStartThatNeverShowsTheWindowKeepsTheStoredPlacement)
{
    // A print from the command line and a file that fails to open go down without showing
    // the window; what they store is what they were given, for normal and maximized alike.
    const QString printed = writeFile(QStringLiteral("print.txt"), "abc");
    const QStringList hiddenStarts[] = {
        {filePath(QStringLiteral("nowhere.txt"))},
        {QStringLiteral("/pt"), printed, QStringLiteral("no such printer"), QStringLiteral("d"),
         QStringLiteral("p")},
    };
    for (const int showCmd : {WindowPlacement::kShowNormal, WindowPlacement::kShowMaximized}) {
        WindowPlacement p;
        p.showCmd = showCmd;
        p.left = 50;
        p.top = 60;
        p.right = 550;
        p.bottom = 460;
        ASSERT_TRUE(settings().writeBinary(u"Settings", u"Window", p.toBytes()));
        for (const QStringList& args : hiddenStarts) {
            SCOPED_TRACE(args.join(u' ').toStdString() + " show " + std::to_string(showCmd));
            ui.clear();
            EXPECT_FALSE(start(args));
            quit();
            const auto stored = storedPlacement();
            ASSERT_TRUE(stored);
            EXPECT_EQ(stored->showCmd, showCmd);
            EXPECT_EQ(QRect(QPoint(stored->left, stored->top), QPoint(stored->right, stored->bottom)),
                      QRect(QPoint(50, 60), QPoint(550, 460)));
        }
        ASSERT_TRUE(start());
        EXPECT_EQ(frame()->isMaximized(), showCmd == WindowPlacement::kShowMaximized);
        EXPECT_EQ(frame()->normalGeometry(), QRect(50, 60, 500, 400));
        quit();
    }
}

TEST_F(Session, ADamagedPlacementFallsBackToTheDefaultSize)
{
    // Too short to be a placement, then one with an empty rectangle.
    ASSERT_TRUE(settings().writeBinary(u"Settings", u"Window",
                                       std::vector<std::uint8_t>(10, 0x7F)));
    ASSERT_TRUE(start());
    const QSize defaultSize = frame()->size();
    EXPECT_FALSE(frame()->isMaximized());
    EXPECT_GT(defaultSize.width(), 100);
    quit();

    WindowPlacement p;
    p.showCmd = WindowPlacement::kShowNormal;
    p.left = 500;
    p.right = 400;
    p.top = 10;
    p.bottom = 10;
    const auto bytes = p.toBytes();
    ASSERT_TRUE(settings().writeBinary(u"Settings", u"Window", bytes));
    ASSERT_TRUE(start());
    EXPECT_EQ(frame()->size(), defaultSize);
}

TEST_F(Session, TheFourNewestFilesAreKeptAndWrittenWholeAtTheEnd)
{
    // Left over from an earlier run, with a gap.
    auto ini = settings();
    ASSERT_TRUE(ini.writeString(u"Recent File List", u"File1", u"/old/one.txt"));
    ASSERT_TRUE(ini.writeString(u"Recent File List", u"File3", u"/old/three.txt"));
    ASSERT_TRUE(start());
    ASSERT_EQ(app->recentFiles()->entries().size(), 2u);
    EXPECT_EQ(app->recentFiles()->entries()[1], u"/old/three.txt");

    QStringList paths;
    for (int i = 1; i <= 5; ++i)
        paths << writeFile(QStringLiteral("f%1.txt").arg(i), "x");
    for (const QString& p : paths)
        openThroughDialog(p);
    openThroughDialog(paths[2]);  // reopened: moves to the top
    quit();

    EXPECT_EQ(qstr(ini.readString(u"Recent File List", u"File1", u"")), paths[2]);
    EXPECT_EQ(qstr(ini.readString(u"Recent File List", u"File2", u"")), paths[4]);
    EXPECT_EQ(qstr(ini.readString(u"Recent File List", u"File3", u"")), paths[3]);
    EXPECT_EQ(qstr(ini.readString(u"Recent File List", u"File4", u"")), paths[1]);
    EXPECT_EQ(ini.readString(u"Recent File List", u"File5", u"none"), u"none");
    EXPECT_FALSE(QString::fromUtf8(readFile(settingsFile())).contains(QStringLiteral("/old/")));
}

TEST_F(Session, AnEmptyListLeavesNoEntriesBehind)
{
    auto ini = settings();
    ASSERT_TRUE(ini.writeString(u"Recent File List", u"File2", u""));
    ASSERT_TRUE(start());
    EXPECT_TRUE(app->recentFiles()->entries().empty());
    quit();
    EXPECT_FALSE(QString::fromUtf8(readFile(settingsFile())).contains(QStringLiteral("File2")));
}

TEST_F(Session, TheFileMenuShowsTheListShortenedAndNumbered)
{
    QDir deep(filePath(QString()));
    ASSERT_TRUE(deep.mkpath(QStringLiteral("some/deeply/nested/folder")));
    const QString far = writeFile(QStringLiteral("some/deeply/nested/folder/far.txt"), "far");
    const QString amp = writeFile(QStringLiteral("a&b.txt"), "amp");
    ASSERT_TRUE(start());
    EXPECT_EQ(recentTexts(), QStringList{QStringLiteral("最近使ったファイル")});
    EXPECT_FALSE(recentItems()[0]->isEnabled());

    openThroughDialog(far);
    openThroughDialog(amp);
    const QStringList texts = recentTexts();
    ASSERT_EQ(texts.size(), 2);
    ASSERT_TRUE(texts[1].startsWith(QStringLiteral("&2 ")));
    const QString shown = texts[1].mid(3);
    EXPECT_LE(shown.size(), 30) << shown.toStdString();
    EXPECT_TRUE(shown.endsWith(QStringLiteral("/folder/far.txt"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("/.../"))) << shown.toStdString();
    EXPECT_TRUE(far.startsWith(shown.section(QStringLiteral("/.../"), 0, 0)));
    // An ampersand in a name is shown, not taken for a mnemonic marker.
    EXPECT_TRUE(texts[0].startsWith(QStringLiteral("&1 "))) << texts[0].toStdString();
    EXPECT_TRUE(texts[0].endsWith(QStringLiteral("a&&b.txt"))) << texts[0].toStdString();

    // Choosing an entry opens it.
    recentItems()[1]->trigger();
    EXPECT_EQ(text(), u"far");
    EXPECT_EQ(document()->pathName(), far);
}

TEST_F(Session, AFileInTheCurrentFolderShowsByNameAlone)
{
    const QString path = writeFile(QStringLiteral("here.txt"), "x");
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(filePath(QString())));
    ASSERT_TRUE(start({path}));
    const QStringList texts = recentTexts();
    QDir::setCurrent(oldCurrent);
    EXPECT_EQ(texts, QStringList{QStringLiteral("&1 here.txt")});
}

TEST_F(Session, AFileDroppedOnTheWindowOpens)
{
    const QString path = writeFile(QStringLiteral("dropped.txt"), "dropped text");
    ASSERT_TRUE(start());
    drop(frame(), {QUrl::fromLocalFile(path)});
    EXPECT_EQ(text(), u"dropped text");
    EXPECT_EQ(frame()->windowTitle(), QStringLiteral("dropped.txt - Quillet"));
}

TEST_F(Session, AFileDroppedOnTheTextOpensToo)
{
    const QString path = writeFile(QStringLiteral("dropped.txt"), "dropped text");
    ASSERT_TRUE(start());
    QTest::keyClicks(view(), QStringLiteral("draft"));
    ui.answerMessage(platform::fx::MsgAnswer::No);
    drop(view()->viewport(), {QUrl::fromLocalFile(path)});
    EXPECT_EQ(text(), u"dropped text");
    EXPECT_EQ(ui.messages().size(), 1);
}

TEST_F(Session, ADroppedFileIsCopiedNeverMovedAwayFromItsSource)
{
    const QString path = writeFile(QStringLiteral("dropped.txt"), "dropped text");
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(path)});
    ASSERT_TRUE(start());
    const QPoint at = frame()->rect().center();
    const struct {
        Qt::DropActions possible;
        Qt::DropAction proposed;
        Qt::DropAction taken;  // IgnoreAction: refused
    } cases[] = {
        {Qt::CopyAction | Qt::MoveAction, Qt::MoveAction, Qt::CopyAction},
        {Qt::MoveAction | Qt::LinkAction, Qt::MoveAction, Qt::LinkAction},
        {Qt::CopyAction, Qt::CopyAction, Qt::CopyAction},
        {Qt::MoveAction, Qt::MoveAction, Qt::IgnoreAction},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(int(c.possible));
        view()->setText(std::u16string_view(u"draft"));
        document()->setModifiedFlag(false);
        QDragEnterEvent enter(at, c.possible, &data, Qt::LeftButton, Qt::NoModifier);
        enter.setDropAction(c.proposed);
        QApplication::sendEvent(frame(), &enter);
        QDragMoveEvent move(at, c.possible, &data, Qt::LeftButton, Qt::NoModifier);
        move.setDropAction(c.proposed);
        QApplication::sendEvent(frame(), &move);
        QDropEvent dropped(QPointF(at), c.possible, &data, Qt::LeftButton, Qt::NoModifier);
        dropped.setDropAction(c.proposed);
        QApplication::sendEvent(frame(), &dropped);
        const bool taken = c.taken != Qt::IgnoreAction;
        for (const QDropEvent* e : {static_cast<QDropEvent*>(&enter),
                                    static_cast<QDropEvent*>(&move), &dropped}) {
            EXPECT_EQ(e->isAccepted(), taken);
            if (taken) {
                EXPECT_EQ(e->dropAction(), c.taken);
            }
        }
        EXPECT_EQ(text(), taken ? u"dropped text" : u"draft");
    }
    EXPECT_TRUE(QFile::exists(path));

    // An address of no local file is refused from the start, beside a file too (a link on a
    // page): such a drag is text, for the text view alone.
    const QUrl address(QStringLiteral("https://example.com/a.txt"));
    for (const QList<QUrl>& urls : {QList<QUrl>{address}, QList<QUrl>{QUrl::fromLocalFile(path), address}}) {
        QMimeData web;
        web.setUrls(urls);
        QDragEnterEvent enter(at, Qt::CopyAction, &web, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(frame(), &enter);
        EXPECT_FALSE(enter.isAccepted());
    }
}

TEST_F(Session, ThreeDroppedFilesOpenInTurnAndTheLastStays)
{
    QList<QUrl> urls;
    for (const char* name : {"one.txt", "two.txt", "three.txt"})
        urls << QUrl::fromLocalFile(writeFile(QString::fromLatin1(name), name));
    ASSERT_TRUE(start());
    drop(frame(), urls);
    EXPECT_EQ(text(), u"three.txt");
    EXPECT_EQ(document()->title(), QStringLiteral("three.txt"));
    const auto& recent = app->recentFiles()->entries();
    ASSERT_EQ(recent.size(), 3u);
    EXPECT_EQ(qstr(recent[0]), urls[2].toLocalFile());
    EXPECT_EQ(qstr(recent[2]), urls[0].toLocalFile());
}

TEST_F(Session, ASavedFileJoinsTheRecentList)
{
    const QString opened = writeFile(QStringLiteral("opened.txt"), "x");
    ASSERT_TRUE(start({opened}));
    const QString saved = filePath(QStringLiteral("saved.txt"));
    ui.answerFile(saved);
    frame()->executeCommand(res::ID_FILE_SAVE_AS);
    ASSERT_TRUE(QFile::exists(saved));
    const auto& recent = app->recentFiles()->entries();
    ASSERT_EQ(recent.size(), 2u);
    EXPECT_EQ(qstr(recent[0]), saved);
    EXPECT_EQ(qstr(recent[1]), opened);
}

TEST_F(Session, ARelativePathOnTheCommandLineIsKeptAsAFullPath)
{
    const QString path = writeFile(QStringLiteral("rel.txt"), "relative");
    const QString oldCurrent = QDir::currentPath();
    ASSERT_TRUE(QDir::setCurrent(filePath(QString())));
    const bool started = start({QStringLiteral("rel.txt")});
    QDir::setCurrent(oldCurrent);
    ASSERT_TRUE(started);
    EXPECT_EQ(text(), u"relative");
    EXPECT_EQ(document()->pathName(), path);
    EXPECT_EQ(qstr(app->recentFiles()->entries().at(0)), path);
    // Saving after the current folder changed still writes the same file.
    QTest::keyClicks(view(), QStringLiteral("a "));
    frame()->executeCommand(res::ID_FILE_SAVE);
    EXPECT_EQ(readFile(path), QByteArray("a relative"));
}

