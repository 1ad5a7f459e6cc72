// Templates through the frame: the menu rebuilt from the folder, inserting, adding and the
// organize dialog, with the messages of each failure.

#include "../shell/ShellTestSupport.h"

#include "dialogs/CTemplateNameDlg.h"
#include "dialogs/CTemplateOrganizeDlg.h"

#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QRegularExpression>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>

using namespace quillet_test;
using platform::fx::MsgAnswer;
using platform::fx::MsgIcon;

namespace {

class TemplateMenu : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(m_data.isValid());
        m_oldData = qgetenv("XDG_DATA_HOME");
        qputenv("XDG_DATA_HOME", QFile::encodeName(m_data.path()));
    }
    void TearDown() override
    {
        ShellTest::TearDown();
        qputenv("XDG_DATA_HOME", m_oldData);
    }

    QString folder() const { return m_data.path() + QStringLiteral("/Quillet/template"); }
    QString templatePath(const QString& name) const
    {
        return folder() + QLatin1Char('/') + name + QStringLiteral(".tpl");
    }
    void putTemplate(const QString& name, const QByteArray& bytes) const
    {
        QDir().mkpath(folder());
        QFile file(templatePath(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }
    // Opens the template drop-down as the user does and gives its template items.
    QStringList templateItems()
    {
        QMenu* menu = frame()->popupMenu(4);
        frame()->updateMenu(menu);
        QStringList items;
        for (QAction* a : menu->actions())
            if (a->property("quilletTemplate").toBool())
                items << QStringLiteral("%1 %2%3")
                             .arg(a->text())
                             .arg(a->property("quilletCommand").toUInt())
                             .arg(a->isEnabled() ? "" : " (disabled)");
        return items;
    }
    bool organizeEnabled() { return frame()->router().update(res::ID_ORGANIZE_TEMPLATES).enabled(); }
    // Adds the current text as a template under name, as typed into the dialog.
    QString addAs(const QString& name)
    {
        QString proposed;
        ui.answerModal([&](QDialog& d) {
            auto& dialog = static_cast<CTemplateNameDlg&>(d);
            proposed = dialog.edit()->text();
            dialog.edit()->setText(name);
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(frame()->executeCommand(res::ID_ADD_TEMPLATE));
        return proposed;
    }
    void organize(const std::function<void(CTemplateOrganizeDlg&)>& act)
    {
        ui.answerModal([&](QDialog& d) {
            act(static_cast<CTemplateOrganizeDlg&>(d));
            return int(QDialog::Accepted);
        });
        EXPECT_TRUE(frame()->executeCommand(res::ID_ORGANIZE_TEMPLATES));
    }

private:
    QTemporaryDir m_data;
    QByteArray m_oldData;
};

} // namespace

TEST_F(TemplateMenu, TheMenuFollowsTheFolderAndItemsInsertUndoably)
{
    ASSERT_TRUE(start());
    EXPECT_TRUE(templateItems().isEmpty());
    EXPECT_FALSE(organizeEnabled());

    putTemplate(QStringLiteral("b"), QByteArray("\xFF\xFE" "b\0", 4));
    putTemplate(QStringLiteral("A"), QByteArray("\xFF\xFE" "x\0\r\0\n\0", 8));
    putTemplate(QStringLiteral("a.b"), QByteArray());
    putTemplate(QStringLiteral("one"), QByteArray("\xFF", 1));
    ASSERT_EQ(::mkfifo(QFile::encodeName(templatePath(QStringLiteral("pipe"))).constData(), 0600), 0);
    ASSERT_TRUE(QDir().mkpath(templatePath(QStringLiteral("dir"))));
    const QStringList items = templateItems();
    ASSERT_EQ(items.size(), 6);
    EXPECT_TRUE(organizeEnabled());
    // Numbered from 200 down the menu, every item enabled.
    for (int i = 0; i < items.size(); ++i)
        EXPECT_TRUE(items[i].endsWith(QString::number(200 + i))) << items[i].toStdString();
    EXPECT_EQ(items.value(0), QStringLiteral("A 200"));

    QTest::keyClicks(view(), QStringLiteral("[SEL]"));
    view()->setSel(0, -1);
    const auto idOf = [&](const QString& name) {
        for (const QString& item : items)
            if (item.section(QLatin1Char(' '), 0, 0) == name)
                return item.section(QLatin1Char(' '), 1, 1).toUInt();
        return 0u;
    };
    ASSERT_TRUE(frame()->executeCommand(idOf(QStringLiteral("A"))));
    EXPECT_EQ(text(), u"x\r\n");
    ASSERT_TRUE(frame()->executeCommand(res::ID_EDIT_UNDO));
    ASSERT_TRUE(frame()->executeCommand(res::ID_EDIT_UNDO));
    EXPECT_EQ(text(), u"[SEL]");
    // Files of 0 and 1 bytes insert nothing.
    view()->setSel(5, 5);
    ASSERT_TRUE(frame()->executeCommand(idOf(QStringLiteral("a.b"))));
    ASSERT_TRUE(frame()->executeCommand(idOf(QStringLiteral("one"))));
    EXPECT_EQ(text(), u"[SEL]");
    // A FIFO and a folder are told as files that cannot be opened, without hanging; so is
    // a template that another holder keeps locked, as any file the program reads.
    ASSERT_TRUE(frame()->executeCommand(idOf(QStringLiteral("pipe"))));
    ASSERT_TRUE(frame()->executeCommand(idOf(QStringLiteral("dir"))));
    const int holder = ::open(QFile::encodeName(templatePath(QStringLiteral("b"))).constData(),
                              O_RDONLY | O_CLOEXEC);
    ASSERT_EQ(::flock(holder, LOCK_EX), 0);
    ASSERT_TRUE(frame()->executeCommand(idOf(QStringLiteral("b"))));
    ::close(holder);
    EXPECT_EQ(messageTexts(),
              (QStringList{resString(res::IDP_TEMPLATE_OPEN_FAILED, templatePath(QStringLiteral("pipe"))),
                           resString(res::IDP_TEMPLATE_OPEN_FAILED, templatePath(QStringLiteral("dir"))),
                           resString(res::IDP_TEMPLATE_OPEN_FAILED, templatePath(QStringLiteral("b")))}));
    EXPECT_EQ(text(), u"[SEL]");

    // Removed outside the program: gone at the next opening, its number no longer works.
    ASSERT_TRUE(QFile::remove(templatePath(QStringLiteral("b"))));
    EXPECT_EQ(templateItems().size(), 5);
    EXPECT_FALSE(frame()->router().update(205).enabled());
}

TEST_F(TemplateMenu, AddingKeepsTheTextAsUtf16AndAsksBeforeReplacing)
{
    ASSERT_TRUE(start());
    EXPECT_FALSE(frame()->router().update(res::ID_ADD_TEMPLATE).enabled());
    QTest::keyClicks(view(), QStringLiteral("x"));
    QTest::keyClick(view(), Qt::Key_Return);
    ASSERT_FALSE(QFileInfo::exists(folder()));
    // The per-user folder is made on the first addition.
    EXPECT_EQ(addAs(QStringLiteral("memo")), QStringLiteral("無題"));
    EXPECT_EQ(readFile(templatePath(QStringLiteral("memo"))),
              QByteArray("\xFF\xFE\x78\x00\x0D\x00\x0A\x00", 8));
    EXPECT_EQ(templateItems(), QStringList{QStringLiteral("memo 200")});

    // Answering No leaves the file as it was.
    QTest::keyClicks(view(), QStringLiteral("more"));
    ui.answerMessage(MsgAnswer::No);
    addAs(QStringLiteral("memo"));
    EXPECT_EQ(readFile(templatePath(QStringLiteral("memo"))).size(), 8);
    ui.answerMessage(MsgAnswer::Yes);
    addAs(QStringLiteral("memo"));
    EXPECT_EQ(readFile(templatePath(QStringLiteral("memo"))).size(), 2 + 2 * 7);
    const QString overwrite = resString(res::IDP_TEMPLATE_OVERWRITE, templatePath(QStringLiteral("memo")));
    EXPECT_EQ(messageTexts(), (QStringList{overwrite, overwrite}));

    // A name with "/" is refused before anything is made; 300 characters is too long a
    // file name for the system.
    ui.clear();
    addAs(QStringLiteral("a/b"));
    addAs(QString(300, QLatin1Char('n')));
    EXPECT_EQ(messageTexts(),
              (QStringList{resString(res::IDP_TEMPLATE_OPEN_FAILED, templatePath(QStringLiteral("a/b"))),
                           resString(res::IDP_TEMPLATE_OPEN_FAILED,
                                     templatePath(QString(255, QLatin1Char('n'))))}));
    EXPECT_EQ(QDir(folder()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{QStringLiteral("memo.tpl")});
}

TEST_F(TemplateMenu, OrganizingRenamesAndDeletesFilesAndNames)
{
    putTemplate(QStringLiteral("memo"), QByteArray("\xFF\xFE" "m\0", 4));
    putTemplate(QStringLiteral("note"), QByteArray("\xFF\xFE" "n\0", 4));
    ASSERT_TRUE(start());
    ASSERT_EQ(templateItems().size(), 2);
    organize([&](CTemplateOrganizeDlg& d) {
        QListWidget* list = d.list();
        ASSERT_EQ(list->count(), 2);
        list->setCurrentRow(0);
        // Another letter case is another file name here: renamed.
        d.OnEndLabelEdit(QStringLiteral("Memo"));
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("Memo"));
        // The name of another template: refused with a message, nothing changes.
        d.OnEndLabelEdit(QStringLiteral("note"));
        // The same name: nothing at all.
        d.OnEndLabelEdit(QStringLiteral("Memo"));
        // "/" cannot be in a file name: the file error, nothing renamed.
        d.OnEndLabelEdit(QStringLiteral("a/b"));
        EXPECT_EQ(list->item(0)->text(), QStringLiteral("Memo"));
        // Deleting asks; No keeps the template.
        list->setCurrentRow(1);
        ui.answerMessage(MsgAnswer::No);
        d.OnDelete();
        EXPECT_EQ(list->count(), 2);
        ui.answerMessage(MsgAnswer::Yes);
        d.OnDelete();
        EXPECT_EQ(list->count(), 1);
    });
    EXPECT_EQ(frame()->m_templateNames, std::vector<std::u16string>{u"Memo"});
    EXPECT_EQ(QDir(folder()).entryList(QDir::Files), QStringList{QStringLiteral("Memo.tpl")});
    const auto shown = ui.messages();
    ASSERT_EQ(shown.size(), 4);
    EXPECT_EQ(shown[0].text, resString(res::IDP_TEMPLATE_NAME_DUPLICATE));
    EXPECT_EQ(shown[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(shown[1].icon, MsgIcon::Stop);
    EXPECT_EQ(shown[2].text, resString(res::IDP_TEMPLATE_DELETE, QStringLiteral("note")));
    EXPECT_EQ(templateItems(), QStringList{QStringLiteral("Memo 200")});
}

TEST_F(TemplateMenu, ARenameIsShownAtTheNextOpeningAndEveryClashIsTold)
{
    const struct {
        QStringList files;  // "memo" is renamed
        QString newName;
        QStringList after;  // the templates afterwards, in the folder and in the menu
        bool told;          // "名前が重複しています。" shown
    } cases[] = {
        // Same count, same order: only the item's text changes.
        {{"memo", "note"}, "Memo", {"Memo", "note"}, false},
        // Another letter case is another file here, so another template.
        {{"memo", "Memo"}, "Memo", {"Memo", "memo"}, true},
        {{"memo", "note"}, "note", {"memo", "note"}, true},
        {{"memo", "note"}, "memo", {"memo", "note"}, false},
    };
    ASSERT_TRUE(start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.files.join(QLatin1Char(' ')).toStdString() + " -> " + c.newName.toStdString());
        QDir(folder()).removeRecursively();
        for (const QString& name : c.files)
            putTemplate(name, QByteArray("\xFF\xFE", 2));
        ASSERT_EQ(templateItems().size(), c.files.size());
        ui.clear();
        organize([&](CTemplateOrganizeDlg& d) {
            d.list()->setCurrentItem(d.list()->findItems(QStringLiteral("memo"), Qt::MatchExactly).value(0));
            d.OnEndLabelEdit(c.newName);
        });
        // Names only: how letter case sorts depends on the locale.
        QStringList menu = templateItems().replaceInStrings(QRegularExpression(QStringLiteral(" .*")), QString());
        QStringList onDisk = QDir(folder()).entryList(QDir::Files).replaceInStrings(QStringLiteral(".tpl"), QString());
        menu.sort();
        onDisk.sort();
        EXPECT_EQ(menu, c.after);
        EXPECT_EQ(onDisk, c.after);
        EXPECT_EQ(messageTexts(), c.told ? QStringList{resString(res::IDP_TEMPLATE_NAME_DUPLICATE)}
                                         : QStringList{});
    }
}
