// Qt's own dialogs speak Japanese once the program's translations are installed.

#include "app/QtTranslations.h"

#include <QApplication>
#include <QRegularExpression>
#include <QTranslator>

#include <gtest/gtest.h>

TEST(QtTranslations, TheStandardDialogsSpeakJapanese)
{
    QTranslator* translator = installQtTranslations(*QCoreApplication::instance());
    ASSERT_NE(translator, nullptr) << "qtbase_ja.qm missing (package qt6-translations-l10n)";
    // Texts of the file dialog and of the standard buttons.
    for (const auto& [context, text] : {std::pair{"QFileDialog", "Look in:"},
                                        std::pair{"QFileDialog", "File &name:"},
                                        std::pair{"QPlatformTheme", "Cancel"}}) {
        const QString shown = QCoreApplication::translate(context, text);
        EXPECT_NE(shown, QString::fromLatin1(text)) << context << " " << text;
        EXPECT_TRUE(shown.contains(QRegularExpression(QStringLiteral("[\\x{3040}-\\x{30ff}\\x{4e00}-\\x{9fff}]"))))
            << shown.toStdString();
    }
    QCoreApplication::removeTranslator(translator);
    delete translator;
}
