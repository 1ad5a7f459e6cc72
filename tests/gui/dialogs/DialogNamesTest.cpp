// What a screen reader calls the input controls of every dialog: the label that names each
// one, without its mnemonic and colon, or the caption where no label says what it is for.
#include "doc/ClipHistory.h"
#include "dialogs/CClipHistoryDlg.h"
#include "dialogs/CTemplateNameDlg.h"
#include "dialogs/CTemplateOrganizeDlg.h"
#include "dialogs/CodeInputDlg.h"
#include "dialogs/FindReplaceDlg.h"
#include "dialogs/LangSelectDlg.h"
#include "dialogs/NumberDlg.h"
#include "dialogs/RegexReplaceDlg.h"
#include "platform/fx/DialogControls.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

QString nameOf(QWidget* widget)
{
    return QAccessible::queryAccessibleInterface(widget)->text(QAccessible::Name);
}

// The names of the dialog's input controls, in creation order. A combo box is named by its
// field, which takes the focus; on Linux its own name is its value and its label a relation.
QStringList inputNames(QDialog& dialog)
{
    QStringList names;
    for (QWidget* widget : dialog.findChildren<QWidget*>()) {
        if (widget->window() != &dialog)
            continue;  // a combo box's drop-down list
        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            const auto labels = QAccessible::queryAccessibleInterface(combo)->relations(QAccessible::Label);
            EXPECT_EQ(labels.size(), 1) << nameOf(combo->lineEdit()).toStdString();
            names << nameOf(combo->lineEdit());
        } else if ((qobject_cast<QLineEdit*>(widget) && !qobject_cast<QComboBox*>(widget->parent()))
                   || qobject_cast<QAbstractItemView*>(widget)) {
            names << nameOf(widget);
        }
    }
    return names;
}

} // namespace

TEST(DialogNames, EveryInputControlIsNamedForScreenReaders)
{
    using platform::fx::accessibleLabelText;
    EXPECT_EQ(accessibleLabelText(QStringLiteral("検索する文字列(&N):")), QStringLiteral("検索する文字列"));
    EXPECT_EQ(accessibleLabelText(QStringLiteral("置換（&R）：")), QStringLiteral("置換"));
    EXPECT_EQ(accessibleLabelText(QStringLiteral("&Find && replace: ")), QStringLiteral("Find & replace"));
    EXPECT_EQ(accessibleLabelText(QStringLiteral("ひな型の名前を入力してください。")),
              QStringLiteral("ひな型の名前を入力してください。"));

    doc::ClipHistory history;
    history.add(u"copied");
    std::vector<std::u16string> templates{u"letter"};
    auto number = std::make_unique<CNumberDlg>();
    number->m_strCaption = QStringLiteral("行へ移動");
    std::vector<std::pair<std::unique_ptr<QDialog>, QStringList>> dialogs;
    dialogs.emplace_back(std::make_unique<CFindReplaceDialog>(false, QString(), QString(), true, false, nullptr),
                         QStringList{"検索する文字列", "置換後の文字列"});
    dialogs.emplace_back(std::make_unique<CRegexReplaceDlg>(), QStringList{"検索文字列", "置換文字列"});
    dialogs.emplace_back(std::move(number), QStringList{"行へ移動"});
    dialogs.emplace_back(std::make_unique<CCodeInputDlg>(), QStringList{"コード入力"});
    dialogs.emplace_back(std::make_unique<CTemplateNameDlg>(), QStringList{"ひな型の名前を入力してください。"});
    dialogs.emplace_back(std::make_unique<CTemplateOrganizeDlg>(&templates, std::string(), nullptr),
                         QStringList{"ひな型の整理"});
    dialogs.emplace_back(std::make_unique<CLangSelectDlg>(), QStringList{"言語選択"});
    dialogs.emplace_back(std::make_unique<CClipHistoryDlg>(history),
                         QStringList{"貼り付けたい項目をダブルクリックして下さい。"});
    for (auto& [dialog, expected] : dialogs) {
        dialog->show();
        EXPECT_EQ(inputNames(*dialog), expected) << dialog->windowTitle().toStdString();
        dialog->hide();
    }
    // A hint near an unlabelled field is read after its name.
    CCodeInputDlg code;
    EXPECT_TRUE(QAccessible::queryAccessibleInterface(code.findChild<QLineEdit*>())
                    ->text(QAccessible::Description).startsWith(QStringLiteral("0x で始めると")));
}
