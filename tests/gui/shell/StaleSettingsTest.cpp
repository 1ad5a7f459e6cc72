// Settings written on another machine or edited by hand: a window placed on a screen that
// is not there, and view settings out of their range.
#include "ShellTestSupport.h"

#include "doc/LogFontQt.h"
#include "platform/fx/WindowPlacement.h"

#include <QScreen>
#include <QStyle>

using namespace quillet_test;
using platform::fx::WindowPlacement;

namespace {

class StaleSettings : public ShellTest {
protected:
    void storePlacement(QRect normal, std::int32_t showCmd = WindowPlacement::kShowNormal)
    {
        WindowPlacement p;
        p.showCmd = showCmd;
        p.left = normal.left();
        p.top = normal.top();
        p.right = normal.left() + normal.width();
        p.bottom = normal.top() + normal.height();
        ASSERT_TRUE(settings().writeBinary(u"Settings", u"Window", p.toBytes()));
    }
    QRect storedNormal() const
    {
        const auto bytes = settings().readBinary(u"Settings", u"Window");
        const auto p = bytes ? WindowPlacement::fromBytes(*bytes) : std::nullopt;
        return p ? QRect(p->left, p->top, p->right - p->left, p->bottom - p->top) : QRect();
    }
    // The user can take the window by its title bar, and a 100 x 50 part of it shows. (The
    // platform may shift it by its frame's border, so the exact place is not asserted.)
    static bool reachable(const QRect& window, const QScreen* screen)
    {
        const int title = QApplication::style()->pixelMetric(QStyle::PM_TitleBarHeight);
        const QRect area = screen->availableGeometry();
        return area.contains(window.topLeft() - QPoint(0, title))
               && area.contains(window.topLeft() + QPoint(99, 49));
    }
};

// Runs only where the offscreen platform was given two screens (the ctest entry
// "gui_two_screens" does that); the usual run has one.
class TwoScreens : public StaleSettings {
protected:
    void SetUp() override
    {
        if (QGuiApplication::screens().size() < 2)
            GTEST_SKIP() << "needs QT_QPA_PLATFORM=offscreen:configfile=<two screens>";
        StaleSettings::SetUp();
    }
};

} // namespace

TEST_F(StaleSettings, AWindowFarOffTheScreenOpensOnItAndTheSettingWaitsForTheEnd)
{
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QRect far(5000, 5000, 800, 600);
    storePlacement(far);
    ASSERT_TRUE(start());
    EXPECT_EQ(frame()->screen(), screen);
    EXPECT_TRUE(reachable(frame()->geometry(), screen)) << frame()->geometry().x() << ","
                                                        << frame()->geometry().y();
    EXPECT_EQ(frame()->size(), far.size().boundedTo(screen->availableGeometry().size()));
    EXPECT_EQ(storedNormal(), far);
    const QRect shown = frame()->geometry();
    quit();
    EXPECT_EQ(storedNormal(), shown);

    // Maximized, it comes back maximized, with a normal place that is on the screen too;
    // larger than the screen, it is shrunk.
    storePlacement(QRect(-9000, -5000, 20000, 300), WindowPlacement::kShowMaximized);
    ASSERT_TRUE(start());
    EXPECT_TRUE(frame()->isMaximized());
    EXPECT_TRUE(reachable(frame()->normalGeometry(), screen));
    EXPECT_EQ(frame()->normalGeometry().width(), screen->availableGeometry().width());
}

TEST_F(TwoScreens, AWindowGoesToTheNearestScreenThatIsThere)
{
    const QList<QScreen*> screens = QGuiApplication::screens();
    QScreen* second = screens[0] == QGuiApplication::primaryScreen() ? screens[1] : screens[0];
    const QRect area = second->availableGeometry();

    // On the second screen: where it was.
    const QRect onSecond(area.left() + 50, area.top() + 60, 400, 300);
    storePlacement(onSecond);
    ASSERT_TRUE(start());
    EXPECT_EQ(frame()->geometry(), onSecond);
    EXPECT_EQ(frame()->screen(), second);
    quit();

    // Just past the second screen's far edge: pushed back onto it, at the same height.
    storePlacement(QRect(area.right() + 200, area.top() + 60, 400, 300));
    ASSERT_TRUE(start());
    EXPECT_EQ(frame()->geometry(), QRect(area.right() + 1 - 400, area.top() + 60, 400, 300));
    EXPECT_EQ(frame()->screen(), second);
    EXPECT_TRUE(reachable(frame()->geometry(), second));
}

TEST_F(StaleSettings, ViewSettingsOutOfRangeAreTakenByTheTableAndWrittenBackPutRight)
{
    doc::LogFont tall = doc::defaultLanguageFont(96);
    tall.lfHeight = -100000;
    ASSERT_TRUE(settings().writeBinary(u"Settings", u"Font932", tall.toBytes()));
    setSetting(u"TabStops", 0);
    setSetting(u"Ncr", 7);
    setSetting(u"Ja", 5);
    setSetting(u"LangSelect", 5);
    setSetting(u"WordWrap", -2);
    ASSERT_TRUE(start());
    EXPECT_TRUE(ui.messages().isEmpty());
    EXPECT_EQ(view()->m_nTabStops, 4);
    EXPECT_EQ(view()->m_nNcrRadix, 1);
    EXPECT_EQ(view()->m_bAutoDetectJa, 1);
    EXPECT_EQ(view()->m_nLangSelect, 5);
    EXPECT_TRUE(view()->wordWrap());
    EXPECT_EQ(view()->m_logFont, doc::defaultLanguageFont(doc::screenLogPixelsY()));
    quit();

    const auto ini = settings();
    EXPECT_EQ(ini.readInt(u"Settings", u"TabStops", -1), 4);
    EXPECT_EQ(ini.readInt(u"Settings", u"Ncr", -1), 1);
    EXPECT_EQ(ini.readInt(u"Settings", u"Ja", -1), 1);
    EXPECT_EQ(ini.readInt(u"Settings", u"LangSelect", -1), 5);
    EXPECT_EQ(ini.readInt(u"Settings", u"WordWrap", -1), 1);
    const auto font = ini.readBinary(u"Settings", u"Font932");
    ASSERT_TRUE(font);
    EXPECT_EQ(doc::LogFont::fromBytes(*font), doc::defaultLanguageFont(doc::screenLogPixelsY()));
}
