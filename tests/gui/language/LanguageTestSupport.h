#pragma once
// A view on its own over a settings file in a temporary folder, a scripted UI host, and
// small helpers to play the user in the language and options dialogs.

#include "dialogs/LangSelectDlg.h"
#include "doc/LogFont.h"
#include "platform/fx/App.h"
#include "platform/fx/ScriptedUiHost.h"
#include "view/CMyView.h"

#include <QAbstractButton>
#include <QDialog>
#include <QFile>
#include <QListWidget>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <memory>

namespace quillet_test {

// The application object the view reaches its settings through; nothing else.
class SettingsOnlyApp : public platform::fx::App {
public:
    bool initInstance() override { return true; }
};

class LanguageViewTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        app = std::make_unique<SettingsOnlyApp>();
        app->setProfilePath(iniPath().toStdString());
    }

    void TearDown() override
    {
        view.reset();
        app.reset();
    }

    QString iniPath() const { return dir.filePath(QStringLiteral("quillet.ini")); }

    void writeIni(const QByteArray& text)
    {
        QFile file(iniPath());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(text);
    }

    QByteArray iniText() const
    {
        QFile file(iniPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QString setting(const QString& key) const
    {
        return app->getProfileString(QStringLiteral("Settings"), key, QStringLiteral("<none>"));
    }

    // The view created as the frame creates it: constructed, then its creation handler.
    void createView()
    {
        view = std::make_unique<CMyView>();
        ASSERT_TRUE(view->OnCreate());
    }

    // The record stored under "Font<cp>", if it is one.
    std::optional<doc::LogFont> storedFont(std::uint32_t codePage) const
    {
        const auto value = app->getProfileBinary(
            QStringLiteral("Settings"), QString::fromStdU16String(doc::languageFontKey(codePage)));
        if (!value)
            return std::nullopt;
        return doc::LogFont::fromBytes(std::span(
            reinterpret_cast<const std::uint8_t*>(value->constData()), std::size_t(value->size())));
    }

    QTemporaryDir dir;
    platform::fx::ScriptedUiHost host;
    std::unique_ptr<SettingsOnlyApp> app;
    std::unique_ptr<CMyView> view;
};

// The control with the given id inside dialog.
template <class T>
T* control(QDialog& dialog, unsigned id)
{
    return dialog.findChild<T*>(QString::number(id));
}

// Plays the language dialog: selects the row of codePage and answers OK.
inline std::function<int(QDialog&)> chooseCodePage(std::uint32_t codePage)
{
    return [codePage](QDialog& dialog) {
        auto* list = control<QListWidget>(dialog, 1030);
        EXPECT_NE(list, nullptr);
        if (!list)
            return int(QDialog::Rejected);
        bool found = false;
        for (int i = 0; i < list->count() && !found; ++i) {
            if (list->item(i)->data(Qt::UserRole).value<std::uint32_t>() == codePage) {
                list->setCurrentRow(i);
                found = true;
            }
        }
        EXPECT_TRUE(found) << "code page " << codePage << " is not listed";
        return int(QDialog::Accepted);
    };
}

inline std::function<int(QDialog&)> cancelDialog()
{
    return [](QDialog&) { return int(QDialog::Rejected); };
}

} // namespace quillet_test
