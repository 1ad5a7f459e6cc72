// Regular-expression replace through the real view and dialog: the settings and recent
// lists the dialog keeps, the replace of the whole text with its two undo steps, and what
// an error leaves.

#include "../shell/ShellTestSupport.h"

#include "dialogs/RegexReplaceDlg.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>

namespace quillet_test {
namespace {

struct Answer {
    QString pattern;
    QString replace;
    int global = -1, ignoreCase = -1, multiline = -1, escape = -1;  // -1: leave as shown
    int result = QDialog::Accepted;
};

class RegexReplaceCommand : public ShellTest {
protected:
    void SetUp() override
    {
        ShellTest::SetUp();
        ASSERT_TRUE(start());
    }
    // Plays the dialog: notes what it showed, sets the fields and boxes.
    void answer(const Answer& a)
    {
        ui.answerModal([this, a](QDialog& d) {
            auto* pattern = d.findChild<QComboBox*>(QStringLiteral("1027"));
            auto* replace = d.findChild<QComboBox*>(QStringLiteral("1028"));
            shownPattern = pattern->currentText();
            shownChecks.clear();
            for (const char* id : {"1031", "1032", "1029", "1030"})
                shownChecks << d.findChild<QCheckBox*>(QString::fromLatin1(id))->isChecked();
            pattern->showPopup();
            droppedPatterns.clear();
            for (int i = 0; i < pattern->count(); ++i)
                droppedPatterns << pattern->itemText(i);
            pattern->hidePopup();
            EXPECT_EQ(pattern->currentText(), shownPattern) << "dropping down keeps the field";
            pattern->setEditText(a.pattern);
            replace->setEditText(a.replace);
            const int values[] = {a.global, a.ignoreCase, a.multiline, a.escape};
            const char* ids[] = {"1031", "1032", "1029", "1030"};
            for (int i = 0; i < 4; ++i)
                if (values[i] >= 0)
                    d.findChild<QCheckBox*>(QString::fromLatin1(ids[i]))->setChecked(values[i] != 0);
            return a.result;
        });
    }
    void replaceWith(const Answer& a)
    {
        answer(a);
        ASSERT_TRUE(frame()->executeCommand(res::ID_REGEX_REPLACE));
    }
    std::u16string undo()
    {
        frame()->executeCommand(res::ID_EDIT_UNDO);
        return text();
    }

    QString shownPattern;
    QList<bool> shownChecks;
    QStringList droppedPatterns;
};

TEST_F(RegexReplaceCommand, ReplacesTheWholeTextAndRemembersTheDialog)
{
    view()->setText(std::u16string_view(u"me@home\r\nYou@Work"));
    view()->setSel(2, 3);
    replaceWith({QStringLiteral("(\\w+)@(\\w+)"), QStringLiteral("$2 at $1")});
    // First opening: empty fields, Global and IgnoreCase ticked.
    EXPECT_EQ(shownPattern, QString());
    EXPECT_EQ(shownChecks, (QList<bool>{true, true, false, false}));
    EXPECT_EQ(text(), u"home at me\r\nWork at You");
    int s = -1, e = -1;
    view()->getSel(&s, &e);
    EXPECT_EQ(s, int(text().size()));
    EXPECT_EQ(undo(), u"");
    EXPECT_EQ(undo(), u"me@home\r\nYou@Work");

    // The next opening shows the last pattern, and the list has it first; the options as set.
    replaceWith({QStringLiteral("O"), QStringLiteral("0"), 0, 0, 1, 0});
    EXPECT_EQ(shownPattern, QStringLiteral("(\\w+)@(\\w+)"));
    EXPECT_EQ(droppedPatterns, QStringList{QStringLiteral("(\\w+)@(\\w+)")});
    EXPECT_EQ(text(), u"me@home\r\nYou@Work") << "case matters, and O does not occur";
    replaceWith({QStringLiteral("o"), QStringLiteral("0")});
    EXPECT_EQ(shownChecks, (QList<bool>{false, false, true, false}));
    EXPECT_EQ(text(), u"me@h0me\r\nYou@Work") << "only the first match";
    replaceWith({QStringLiteral("^\\w"), QStringLiteral("_"), 1});
    EXPECT_EQ(text(), u"_e@h0me\r\n_ou@Work") << "Multiline: ^ after each line end";
    EXPECT_EQ(droppedPatterns, (QStringList{QStringLiteral("o"), QStringLiteral("O"),
                                            QStringLiteral("(\\w+)@(\\w+)")}));

    // Escapes only when asked for.
    replaceWith({QStringLiteral("@"), QStringLiteral("\\t\\\\"), 1, 1, 0, 1});
    EXPECT_EQ(text(), u"_e\t\\h0me\r\n_ou\t\\Work");
    replaceWith({QStringLiteral("\\t"), QStringLiteral("\\r\\n"), 1, 1, 0, 0});
    EXPECT_EQ(text(), u"_e\\r\\n\\h0me\r\n_ou\\r\\n\\Work");

    const auto ini = settings();
    EXPECT_EQ(ini.readString(u"Settings", u"Pattern", u""), u"\\t");
    EXPECT_EQ(ini.readString(u"Settings", u"Replace", u""), u"\\r\\n");
    EXPECT_EQ(ini.readInt(u"Settings", u"Escape", -1), 0);
    EXPECT_EQ(ini.readInt(u"Settings", u"Multiline", -1), 0);
    EXPECT_EQ(ini.readString(u"Recent Replace List", u"replace1", u""), u"\\r\\n");
}

TEST_F(RegexReplaceCommand, ElevenPatternsKeepTheLastTenAndCancelWritesNothing)
{
    view()->setText(std::u16string_view(u"text"));
    for (int i = 1; i <= 11; ++i)
        replaceWith({QStringLiteral("p%1").arg(i), QString()});
    const auto ini = settings();
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern1", u""), u"p11");
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern10", u""), u"p2");
    EXPECT_EQ(ini.readString(u"Recent Pattern List", u"pattern11", u"-"), u"-");
    // The empty replacement is entry 1 of its list, which is written as a gap.
    EXPECT_EQ(ini.readString(u"Recent Replace List", u"replace1", u"-"), u"-");

    const QByteArray before = readFile(settingsFile());
    replaceWith({QStringLiteral("zzz"), QStringLiteral("y"), 0, 0, 0, 1, QDialog::Rejected});
    EXPECT_EQ(readFile(settingsFile()), before);
    EXPECT_EQ(text(), u"text");
}

TEST_F(RegexReplaceCommand, AnErrorLeavesTheTextSelectedAndUnchanged)
{
    view()->setText(std::u16string_view(u"aaa"));
    view()->setSel(1, 1);
    replaceWith({QStringLiteral("a(b"), QStringLiteral("x")});
    ASSERT_EQ(ui.messages().size(), 1);
    EXPECT_EQ(ui.messages()[0].text,
              QStringLiteral("正規表現 - 2 文字目: 「(」に対応する「)」がありません。"));
    EXPECT_EQ(ui.messages()[0].icon, platform::fx::MsgIcon::Exclamation);
    EXPECT_EQ(text(), u"aaa");
    int s = -1, e = -1;
    view()->getSel(&s, &e);
    EXPECT_EQ(std::make_pair(s, e), std::make_pair(0, 3));
    EXPECT_TRUE(view()->redraw());
    EXPECT_FALSE(view()->undoHistory().CanUndo());

    // Catastrophic backtracking ends with a message, in bounded time.
    view()->setText(std::u16string(40, u'a') + u"b");
    replaceWith({QStringLiteral("(a+)+$"), QStringLiteral("x")});
    ASSERT_EQ(ui.messages().size(), 2);
    EXPECT_TRUE(ui.messages()[1].text.contains(QStringLiteral("中止")));
    EXPECT_EQ(text(), std::u16string(40, u'a') + u"b");

    // Damaged settings: a pattern of a megabyte is cut to the field's limit; bytes that are
    // not UTF-8 arrive as replacement characters and are written back as valid text.
    settings().writeString(u"Settings", u"Pattern", std::u16string(1 << 20, u'x'));
    replaceWith({QStringLiteral("zz"), QString()});
    EXPECT_EQ(shownPattern.size(), CRegexReplaceDlg::kMaxChars);
    {
        QByteArray bytes = readFile(settingsFile());
        ASSERT_TRUE(bytes.contains("Pattern=zz"));
        bytes.replace("Pattern=zz", "Pattern=a\xff\xc3(b");
        QFile file(settingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }
    replaceWith({QStringLiteral("a"), QStringLiteral("b")});
    EXPECT_TRUE(shownPattern.startsWith(QLatin1Char('a'))) << shownPattern.toStdString();
    EXPECT_TRUE(QString::fromUtf8(readFile(settingsFile())).isValidUtf16());
    EXPECT_EQ(settings().readString(u"Settings", u"Pattern", u""), u"a");
}

} // namespace
} // namespace quillet_test
