// Routing of commands through the targets' tables. Needs no QApplication, only Qt's
// containers, which is why it sits with the widget tests.
#include "platform/fx/CommandRouter.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using platform::fx::CmdUI;
using platform::fx::CommandEntry;
using platform::fx::CommandRouter;
using platform::fx::CommandTarget;

namespace {

constexpr unsigned kPlain = 100;     // a handler, no update handler
constexpr unsigned kGuarded = 101;   // a handler whose update handler decides
constexpr unsigned kPane = 102;      // an update handler only
constexpr unsigned kRangeFirst = 110;
constexpr unsigned kRangeLast = 113;
constexpr unsigned kUnknown = 999;

// A target with a table like the program's classes have; it logs what ran.
class Target : public CommandTarget {
public:
    explicit Target(std::string name) : m_name(std::move(name)) {}

    const platform::fx::CommandMap& commandMap() const override { return table(); }

    void plain() { log.push_back(m_name + ":plain"); }
    void guarded() { log.push_back(m_name + ":guarded"); }
    void range(unsigned id) { log.push_back(m_name + ":range" + std::to_string(id)); }
    void updateGuarded(CmdUI& ui)
    {
        ui.enable(guardOpen);
        ui.setCheck(checked);
    }
    void updatePane(CmdUI& ui) { ui.setText(QStringLiteral("pane text")); }
    void updateRange(CmdUI& ui) { ui.enable(ui.id() != kRangeLast); }

    bool guardOpen = false;
    bool checked = false;
    std::vector<std::string> log;

private:
    static const platform::fx::CommandMap& table()
    {
        static const CommandEntry entries[] = {
            platform::fx::onCommand<&Target::plain>(kPlain),
            platform::fx::onCommand<&Target::guarded, &Target::updateGuarded>(kGuarded),
            platform::fx::onUpdateOnly<&Target::updatePane>(kPane),
            platform::fx::onCommandRange<&Target::range, &Target::updateRange>(kRangeFirst,
                                                                              kRangeLast),
        };
        static const platform::fx::CommandMap map{nullptr, entries};
        return map;
    }

    std::string m_name;
};

// A target that knows nothing; routing must pass it by.
class Empty : public CommandTarget {
public:
    const platform::fx::CommandMap& commandMap() const override
    {
        static const platform::fx::CommandMap none{nullptr, {}};
        return none;
    }
};

} // namespace

TEST(CommandRouter, ACommandNobodyHandlesIsDisabledAndNeverRuns)
{
    Target view("view");
    CommandRouter router([&] { return QList<CommandTarget*>{&view}; });
    EXPECT_FALSE(router.update(kUnknown).enabled());
    EXPECT_FALSE(router.execute(kUnknown));
    EXPECT_FALSE(router.send(kUnknown));
    EXPECT_TRUE(view.log.empty());
}

TEST(CommandRouter, AHandlerWithoutUpdateHandlerIsEnabled)
{
    Target view("view");
    CommandRouter router([&] { return QList<CommandTarget*>{&view}; });
    const CmdUI ui = router.update(kPlain);
    EXPECT_TRUE(ui.enabled());
    EXPECT_FALSE(ui.checked());
    EXPECT_TRUE(router.execute(kPlain));
    EXPECT_EQ(view.log, std::vector<std::string>{"view:plain"});
}

TEST(CommandRouter, ADisabledCommandDoesNotRunUnlessSentDirectly)
{
    Target view("view");
    CommandRouter router([&] { return QList<CommandTarget*>{&view}; });
    view.checked = true;
    const CmdUI ui = router.update(kGuarded);
    EXPECT_FALSE(ui.enabled());
    EXPECT_EQ(ui.checked(), std::optional<bool>(true));
    EXPECT_FALSE(router.execute(kGuarded));
    EXPECT_TRUE(view.log.empty());

    // The program's own sends skip the update handler.
    EXPECT_TRUE(router.send(kGuarded));
    EXPECT_EQ(view.log, std::vector<std::string>{"view:guarded"});

    view.guardOpen = true;
    EXPECT_TRUE(router.execute(kGuarded));
    EXPECT_EQ(view.log.size(), 2u);
}

TEST(CommandRouter, TheFirstTargetWithTheCommandWins)
{
    Target view("view"), frame("frame");
    Empty document;
    CommandRouter router([&] { return QList<CommandTarget*>{&view, &document, &frame}; });
    EXPECT_TRUE(router.execute(kPlain));
    EXPECT_EQ(view.log, std::vector<std::string>{"view:plain"});
    EXPECT_TRUE(frame.log.empty());

    // The first target's update handler decides, even when a later one would enable.
    frame.guardOpen = true;
    EXPECT_FALSE(router.update(kGuarded).enabled());
    EXPECT_FALSE(router.execute(kGuarded));
    EXPECT_TRUE(frame.log.empty());
}

TEST(CommandRouter, TargetsThatLackTheCommandArePassedBy)
{
    Target frame("frame");
    Empty view, document;
    CommandRouter router([&] { return QList<CommandTarget*>{&view, nullptr, &document, &frame}; });
    EXPECT_TRUE(router.execute(kPlain));
    EXPECT_EQ(frame.log, std::vector<std::string>{"frame:plain"});
}

TEST(CommandRouter, TheTargetListIsAskedAnewOnEveryRouting)
{
    Target first("first"), second("second");
    CommandTarget* current = &first;
    CommandRouter router([&] { return QList<CommandTarget*>{current}; });
    router.execute(kPlain);
    current = &second;
    router.execute(kPlain);
    EXPECT_EQ(first.log, std::vector<std::string>{"first:plain"});
    EXPECT_EQ(second.log, std::vector<std::string>{"second:plain"});
}

TEST(CommandRouter, RangesPassTheIdToBothHandlers)
{
    Target view("view");
    CommandRouter router([&] { return QList<CommandTarget*>{&view}; });
    for (unsigned id = kRangeFirst; id <= kRangeLast; ++id)
        router.execute(id);
    EXPECT_EQ(view.log, (std::vector<std::string>{"view:range110", "view:range111",
                                                  "view:range112"}));
    EXPECT_FALSE(router.update(kRangeLast + 1).enabled());
}

TEST(CommandRouter, AnUpdateOnlyRowGivesTextButNoCommand)
{
    Target view("view");
    CommandRouter router([&] { return QList<CommandTarget*>{&view}; });
    const CmdUI ui = router.update(kPane);
    EXPECT_EQ(ui.text(), std::optional<QString>(QStringLiteral("pane text")));
    EXPECT_FALSE(router.send(kPane));
    EXPECT_FALSE(router.execute(kPane));
    EXPECT_TRUE(view.log.empty());
}
