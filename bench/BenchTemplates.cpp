// Opening the template menu over a folder of 5,000 templates: the folder listed, the names
// sorted by the locale's collation, the items made and the menu shown. The user waits for
// this each time the menu opens; the limit is 200 ms. Argument 0: the folder is unchanged
// between openings; 1: a template is added before each opening, so every item is made anew.
#include "app/CMainFrame.h"
#include "app/CMyApp.h"
#include "doc/CMyDoc.h"
#include "platform/fx/ScriptedUiHost.h"
#include "platform/profile/Profile.h"
#include "platform/profile/SettingsPath.h"

#include <QApplication>
#include <QFile>
#include <QMenu>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <memory>

namespace {

constexpr int kTemplates = 5000;

void BM_OpenTemplateMenu(benchmark::State& state)
{
    QTemporaryDir config;
    QTemporaryDir data;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    qputenv("XDG_DATA_HOME", QFile::encodeName(data.path()));
    const QString folder = data.path() + QStringLiteral("/Quillet/template");
    QDir().mkpath(folder);
    // Names of mixed scripts and cases, so the collation has work to do.
    const QString stems[] = {QStringLiteral("報告"), QStringLiteral("memo"), QStringLiteral("Memo"),
                             QStringLiteral("letter"), QStringLiteral("보고서"), QStringLiteral("模板")};
    for (int i = 0; i < kTemplates; ++i) {
        QFile file(folder + QStringLiteral("/%1 %2.tpl").arg(stems[i % 6]).arg(i * 7919 % 10007));
        if (!file.open(QIODevice::WriteOnly)) {
            state.SkipWithError("the template folder could not be filled");
            return;
        }
        file.write("\xFF\xFE" "x\0", 4);
    }
    platform::fx::ScriptedUiHost host;
    auto app = std::make_unique<CMyApp>(QStringList());
    if (!app->initInstance()) {
        state.SkipWithError("the program did not start");
        return;
    }
    auto* frame = static_cast<CMainFrame*>(app->mainFrame());
    QCoreApplication::processEvents();
    QMenu* menu = frame->popupMenu(4);
    int added = 0;
    for (auto _ : state) {
        if (state.range(0) == 1) {
            state.PauseTiming();
            QFile extra(folder + QStringLiteral("/added %1.tpl").arg(added++));
            if (extra.open(QIODevice::WriteOnly))
                extra.write("\xFF\xFE", 2);
            state.ResumeTiming();
        }
        menu->popup(frame->mapToGlobal(QPoint(0, 0)));
        QCoreApplication::processEvents();
        state.PauseTiming();
        menu->hide();
        QCoreApplication::processEvents();
        state.ResumeTiming();
    }
    state.counters["templates"] = double(frame->m_templateNames.size());
    auto* document = app->document();
    frame->destroyWindow();
    app->exitInstance();
    delete frame;
    delete document;
    app.reset();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
BENCHMARK(BM_OpenTemplateMenu)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->MinTime(2.0);

} // namespace
