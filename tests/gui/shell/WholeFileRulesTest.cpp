// Opening a document and importing a file follow one set of rules for what they may read:
// every kind of file that must be refused, through each caller, is refused at once with the
// caller's own message, and the text stays as it was.
#include "ShellTestSupport.h"

#include <QElapsedTimer>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sys/stat.h>
#include <thread>
#include <unistd.h>

using namespace quillet_test;

namespace {

class WholeFileRules : public ShellTest {};

// Should an open wait for a writer of the FIFO, one comes after two seconds, so that the
// test fails instead of hanging.
class FifoRescue {
public:
    explicit FifoRescue(QString path) : m_thread([path, this] {
        for (int i = 0; i < 40 && !m_done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(50));
        if (m_done)
            return;
        const int fd = ::open(QFile::encodeName(path).constData(), O_WRONLY | O_NONBLOCK);
        if (fd >= 0)
            ::close(fd);
    }) {}
    ~FifoRescue()
    {
        m_done = true;
        m_thread.join();
    }

private:
    std::atomic<bool> m_done{false};
    std::thread m_thread;
};

} // namespace

TEST_F(WholeFileRules, EveryCallerRefusesWhatIsNoReadableRegularFileOfAllowedSize)
{
    ASSERT_EQ(::chmod(QFile::encodeName(filePath(QString())).constData(), 0755), 0);
    const QString fifo = filePath(QStringLiteral("pipe.txt"));
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString folder = filePath(QStringLiteral("folder.txt"));
    ASSERT_TRUE(QDir().mkdir(folder));
    const QString secret = writeFile(QStringLiteral("secret.txt"), "secret");
    ASSERT_EQ(::chmod(QFile::encodeName(secret).constData(), 0000), 0);
    // Short ASCII lines, so that the text is as long in units as the file is in bytes.
    const QByteArray lines = QByteArray("a line of text\r\n").repeated(70000);
    const QString large =
        writeFile(QStringLiteral("large.txt"), lines.left(CMyView::kMaxFileBytes + 1));
    const QString fits = writeFile(QStringLiteral("fits.txt"), lines.left(CMyView::kMaxFileBytes));

    const QString denied = QStringLiteral(" へのｱｸｾｽは拒否されました。");
    const QString tooLarge = resString(res::AFX_IDP_FILE_TOO_LARGE);
    auto importFailed = [](int error) {
        return resString(res::IDP_IMPORT_FAILED) + QString::fromLocal8Bit(std::strerror(error));
    };
    const struct {
        const char* what;
        QString path;
        QString onOpen;    // the box opening shows
        QString onImport;  // the box importing shows
    } cases[] = {
        {"missing", filePath(QStringLiteral("gone.txt")),
         filePath(QStringLiteral("gone.txt")) + QStringLiteral(" が見つかりませんでした。"),
         importFailed(ENOENT)},
        {"folder", folder, folder + denied, importFailed(EISDIR)},
        {"fifo", fifo, fifo + denied, importFailed(EACCES)},
        {"device", QStringLiteral("/dev/zero"), QStringLiteral("/dev/zero") + denied,
         importFailed(EACCES)},
        {"unreadable", secret, secret + denied, importFailed(EACCES)},
        {"too large", large, tooLarge, tooLarge},
        {"largest allowed", fits, QString(), QString()},
    };
    ASSERT_TRUE(start());
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        for (const bool importing : {false, true}) {
            SCOPED_TRACE(importing ? "import" : "open");
            view()->setText(std::u16string_view(u"draft"));
            document()->setModifiedFlag(false);
            const qsizetype before = ui.messages().size();
            ui.answerFile(c.path);
            QElapsedTimer timer;
            timer.start();
            {
                FifoRescue rescue(fifo);
                WithoutRootPrivileges unprivileged;
                ASSERT_TRUE(unprivileged.ok());
                frame()->router().send(importing ? res::ID_IMPORT_JAPANESE : res::ID_FILE_OPEN);
            }
            EXPECT_LT(timer.elapsed(), 1000);
            const QString expected = importing ? c.onImport : c.onOpen;
            const QStringList shown = messageTexts().mid(before);
            EXPECT_EQ(shown, expected.isEmpty() ? QStringList{} : QStringList{expected});
            if (expected.isEmpty()) {
                const std::size_t fileLength = std::size_t(CMyView::kMaxFileBytes);
                EXPECT_EQ(text().size(), importing ? fileLength + 5 : fileLength);
            } else if (importing || expected != tooLarge) {
                EXPECT_EQ(text(), u"draft");  // an oversized open spoils the old text
            }
        }
    }
}
