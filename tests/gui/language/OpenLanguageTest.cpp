// The language dialog on the way into a file: shown before decoding only when "LangSelect"
// is exactly 1, also for a file then refused for its size, never for an empty file; the
// page chosen decodes the file, Cancel decodes with the page as it was.

#include "LanguageTestSupport.h"

#include "doc/CMyDoc.h"
#include "platform/nls/CodePages.h"
#include "platform/profile/ValueForms.h"

using quillet_test::cancelDialog;
using quillet_test::chooseCodePage;
using Shown = platform::fx::ScriptedUiHost::Shown;

namespace {

// 你好 in GBK; in Shift_JIS the same bytes read as something else entirely.
const QByteArray kGbkBytes("\xC4\xE3\xBA\xC3\r\n", 6);

class OpenLanguageTest : public quillet_test::LanguageViewTest {
protected:
    void openWith(const QByteArray& settings)
    {
        writeIni(settings);
        createView();
        document.setView(view.get());
    }

    QString fileWith(const QByteArray& bytes, const char* name = "in.txt")
    {
        const QString path = dir.filePath(QString::fromLatin1(name));
        QFile file(path);
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
        return path;
    }

    static std::u16string decoded(std::uint32_t codePage, const QByteArray& bytes)
    {
        const auto text = platform::nls::decode(
            codePage, std::string_view(bytes.constData(), std::size_t(bytes.size())));
        return text ? text->text : u"<not installed>";
    }

    CMyDoc document;
};

} // namespace

TEST_F(OpenLanguageTest, ChosenPageDecodesTheFile)
{
    openWith("[Settings]\r\nLangSelect=1\r\n");
    host.answerModal(chooseCodePage(936));
    ASSERT_TRUE(document.onOpenDocument(fileWith(kGbkBytes)));
    EXPECT_EQ(view->text(), u"你好\r\n");
    EXPECT_EQ(view->m_nCodePage, 936u);
    ASSERT_EQ(host.shown().size(), 1);
    EXPECT_EQ(host.shown()[0].dialogTitle, QStringLiteral("言語選択"));
}

TEST_F(OpenLanguageTest, CancelDecodesWithThePreviousPage)
{
    openWith("[Settings]\r\nLangSelect=1\r\n");
    host.answerModal(cancelDialog());
    ASSERT_TRUE(document.onOpenDocument(fileWith(kGbkBytes)));
    EXPECT_EQ(view->m_nCodePage, 932u);
    EXPECT_EQ(view->text(), decoded(932, kGbkBytes));
    EXPECT_NE(view->text(), u"你好\r\n");
}

TEST_F(OpenLanguageTest, OnlyTheValueOneShowsTheDialog)
{
    for (const char* value : {"0", "2", "5", "-1"}) {
        host.clear();
        openWith(QByteArray("[Settings]\r\nCodePage=936\r\nLangSelect=") + value + "\r\n");
        ASSERT_TRUE(document.onOpenDocument(fileWith(kGbkBytes)));
        EXPECT_TRUE(host.shown().isEmpty()) << "LangSelect=" << value;
        EXPECT_EQ(view->text(), u"你好\r\n");
    }
}

TEST_F(OpenLanguageTest, DialogComesBeforeTheSizeCheckAndItsPageStays)
{
    openWith("[Settings]\r\nLangSelect=1\r\n");
    host.answerModal(chooseCodePage(949));
    host.answerMessage(platform::fx::MsgAnswer::Ok);
    EXPECT_FALSE(document.onOpenDocument(fileWith(QByteArray(0x100000, 'a'), "big.txt")));
    ASSERT_EQ(host.shown().size(), 2);
    EXPECT_EQ(host.shown()[0].kind, Shown::Kind::Modal);
    EXPECT_EQ(host.shown()[1].kind, Shown::Kind::MessageBox);
    EXPECT_EQ(host.shown()[1].message.text, QStringLiteral("ﾌｧｲﾙが大きすぎて開けません。"));
    EXPECT_EQ(view->m_nCodePage, 949u);
}

TEST_F(OpenLanguageTest, EmptyFileShowsNoDialog)
{
    openWith("[Settings]\r\nLangSelect=1\r\n");
    view->setText(u"old");
    ASSERT_TRUE(document.onOpenDocument(fileWith(QByteArray(), "empty.txt")));
    EXPECT_TRUE(host.shown().isEmpty());
    EXPECT_EQ(view->text(), u"");
    EXPECT_EQ(view->m_nCodePage, 932u);
}

TEST_F(OpenLanguageTest, PageChosenOnOpenBringsItsFont)
{
    const doc::LogFont stored = doc::defaultLanguageFont(200);
    writeIni("[Settings]\r\nFont936=" + QString::fromStdU16String(
                 platform::profile::binaryToLetters(stored.toBytes())).toLatin1() + "\r\n");
    createView();
    document.setView(view.get());
    host.answerModal(chooseCodePage(936));
    ASSERT_TRUE(document.onOpenDocument(fileWith(kGbkBytes)));
    EXPECT_EQ(view->m_logFont, stored);
    EXPECT_EQ(view->font().pixelSize(), -stored.lfHeight);
}
