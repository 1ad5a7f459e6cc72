// Every command the resources name has exactly one handler along the routing chain (view,
// document, frame, application, each with its base classes), or is one the program leaves
// disabled on purpose.
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "doc/CMyDoc.h"
#include "platform/fx/CommandRouter.h"
#include "res/Accelerators.h"
#include "res/DisabledCommands.h"
#include "res/Menus.h"
#include "view/CMyView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

namespace {

void collect(std::span<const res::MenuItem> items, std::set<unsigned>& ids)
{
    for (const res::MenuItem& item : items) {
        if (item.kind == res::MenuItemKind::Command)
            ids.insert(item.id);
        collect(item.children, ids);
    }
}

std::set<unsigned> resourceCommands()
{
    std::set<unsigned> ids;
    collect(res::mainMenu(), ids);
    collect(res::contextMenu(), ids);
    for (unsigned id : res::toolbarButtons())
        if (id != res::ID_SEPARATOR)
            ids.insert(id);
    for (const res::Accelerator& acc : res::accelerators())
        ids.insert(acc.command);
    return ids;
}

// Rows with a command handler for id, over every table of the chain.
int handlerCount(unsigned id)
{
    const platform::fx::CommandMap* chain[] = {
        &CMyView::classCommands(), &CMyDoc::classCommands(), &CMainFrame::classCommands(),
        &CMyApp::classCommands()};
    int count = 0;
    for (const platform::fx::CommandMap* first : chain)
        for (const platform::fx::CommandMap* map = first; map; map = map->base)
            for (const platform::fx::CommandEntry& e : map->entries)
                if (id >= e.first && id <= e.last && e.handler)
                    ++count;
    return count;
}

} // namespace

TEST(CommandTable, EachResourceCommandHasOneHandlerOrIsDisabledOnPurpose)
{
    const std::set<unsigned> ids = resourceCommands();
    const std::set<unsigned> disabled(std::begin(res::kDisabledCommands),
                                      std::end(res::kDisabledCommands));
    for (unsigned id : ids) {
        const int count = handlerCount(id);
        if (disabled.count(id))
            EXPECT_EQ(count, 0) << id << " is handled: take it off the disabled list";
        else
            EXPECT_EQ(count, 1) << id;
    }
    // The list names only commands the resources have, so that it shrinks with each feature.
    for (unsigned id : disabled)
        EXPECT_TRUE(ids.count(id)) << id << " is on the disabled list but in no resource";
}
