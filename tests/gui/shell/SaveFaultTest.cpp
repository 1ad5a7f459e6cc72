// Every step of a save made to fail in turn, with the errors real disks give: the old file
// stays byte for byte, no temporary or backup is left, the document stays modified and the
// error is reported. The same for an export, a settings write and a file with two names.
#include "ShellTestSupport.h"

#include "platform/fx/FileError.h"

#include <cstring>
#include <sys/stat.h>

using namespace quillet_test;
using platform::shell::SaveStep;

namespace {

enum class Operation { Save, HardLinkedSave, Export, SettingsWrite };

struct Fault {
    SaveStep step;
    int occurrence;  // which time the step runs: 1 the first
};

// What a fault at a step leaves: the old file (Kept), or the new one, reported (the folder's
// flush comes after the rename) or not (an owner that cannot be set is no failure).
enum class Outcome { Kept, NewButReported, New };

class SaveFault : public ShellTest {
protected:
    void TearDown() override
    {
        platform::shell::setFaultFunctionForTesting(nullptr);
        ShellTest::TearDown();
    }
};

const char* stepName(SaveStep step)
{
    static const char* const kNames[] = {"CreateTemporary", "SetOwner", "SetMode", "Write",
                                         "Sync", "Close", "Rename", "SyncFolder",
                                         "OpenInPlace", "Truncate"};
    return kNames[int(step)];
}

} // namespace

TEST_F(SaveFault, EachStepFailingLeavesTheOldFileAndSaysSo)
{
    const std::vector<std::pair<Fault, Outcome>> replacing = {
        {{SaveStep::CreateTemporary, 1}, Outcome::Kept}, {{SaveStep::SetOwner, 1}, Outcome::New},
        {{SaveStep::SetMode, 1}, Outcome::Kept},         {{SaveStep::Write, 1}, Outcome::Kept},
        {{SaveStep::Write, 2}, Outcome::Kept},           {{SaveStep::Sync, 1}, Outcome::Kept},
        {{SaveStep::Close, 1}, Outcome::Kept},           {{SaveStep::Rename, 1}, Outcome::Kept},
        {{SaveStep::SyncFolder, 1}, Outcome::NewButReported},
    };
    // A file with two names: the backup copy's steps, then the in-place write's.
    const std::vector<std::pair<Fault, Outcome>> inPlace = {
        {{SaveStep::CreateTemporary, 1}, Outcome::Kept}, {{SaveStep::Write, 1}, Outcome::Kept},
        {{SaveStep::Sync, 1}, Outcome::Kept},            {{SaveStep::Close, 1}, Outcome::Kept},
        {{SaveStep::OpenInPlace, 1}, Outcome::Kept},     {{SaveStep::Write, 4}, Outcome::Kept},
        {{SaveStep::Truncate, 1}, Outcome::Kept},        {{SaveStep::Sync, 2}, Outcome::Kept},
        {{SaveStep::Close, 2}, Outcome::Kept},
        {{SaveStep::SyncFolder, 1}, Outcome::NewButReported},
    };
    const int kErrors[] = {ENOSPC, EIO, EACCES, EROFS, EDQUOT};

    ASSERT_TRUE(start());
    // Writes of at most 4 KiB, so that the 9 KiB text takes several.
    platform::shell::setWriteFunctionForTesting([](int fd, const void* data, size_t size) {
        return ::write(fd, data, std::min<size_t>(size, 4096));
    });
    // Larger than the old contents, so that the in-place write must grow the file.
    const std::u16string newText(9000, u'n');
    const QByteArray oldBytes = QByteArray(6000, 'o');
    int runs = 0;
    for (const Operation op : {Operation::Save, Operation::HardLinkedSave, Operation::Export,
                               Operation::SettingsWrite}) {
        for (const auto& [fault, outcome] : op == Operation::HardLinkedSave ? inPlace : replacing) {
            for (const int error : kErrors) {
                SCOPED_TRACE(std::string(stepName(fault.step)) + " #" +
                             std::to_string(fault.occurrence) + " " + std::strerror(error) +
                             " operation " + std::to_string(int(op)));
                ++runs;
                QDir(filePath(QString())).removeRecursively();
                QDir().mkpath(filePath(QString()));
                const QString path = op == Operation::SettingsWrite
                                         ? settingsFile()
                                         : writeFile(QStringLiteral("memo.txt"), oldBytes);
                if (op == Operation::SettingsWrite) {
                    ASSERT_TRUE(settings().writeString(u"Settings", u"Memo",
                                                       std::u16string(6000, u'o')));
                }
                const QByteArray before = readFile(path);
                const QString otherName = filePath(QStringLiteral("other-name.txt"));
                if (op == Operation::HardLinkedSave) {
                    ASSERT_EQ(::link(QFile::encodeName(path).constData(),
                                     QFile::encodeName(otherName).constData()), 0);
                }
                const QStringList filesBefore =
                    op == Operation::SettingsWrite
                        ? QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden)
                        : filesInFolder();
                if (op == Operation::Save || op == Operation::HardLinkedSave) {
                    document()->setPathName(path);
                    view()->setText(newText);
                    document()->setModifiedFlag(true);
                } else {
                    view()->setText(newText);
                }
                ui.clear();

                int seen = 0;
                bool fired = false;
                platform::shell::setFaultFunctionForTesting([&, fault = fault](SaveStep step) {
                    if (fired || step != fault.step || ++seen != fault.occurrence)
                        return 0;
                    fired = true;
                    return error;
                });
                bool settingsWritten = false;
                switch (op) {
                case Operation::Save:
                case Operation::HardLinkedSave:
                    frame()->executeCommand(res::ID_FILE_SAVE);
                    break;
                case Operation::Export:
                    ui.answerFile(path);
                    frame()->executeCommand(res::ID_EXPORT_UTF8);
                    break;
                case Operation::SettingsWrite:
                    settingsWritten = settings().writeString(u"Settings", u"Memo",
                                                             std::u16string(9000, u'n'));
                    break;
                }
                platform::shell::setFaultFunctionForTesting(nullptr);
                ASSERT_TRUE(fired) << "the step never ran that often";

                const bool kept = outcome == Outcome::Kept;
                const bool reported = outcome != Outcome::New;
                if (kept) {
                    EXPECT_EQ(readFile(path), before);
                } else {
                    EXPECT_NE(readFile(path), before);
                }
                if (op == Operation::HardLinkedSave) {
                    EXPECT_EQ(readFile(otherName), readFile(path)) << "the names were split";
                }
                const QStringList filesAfter =
                    op == Operation::SettingsWrite
                        ? QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden)
                        : filesInFolder();
                EXPECT_EQ(filesAfter, filesBefore) << "a temporary or backup was left";

                switch (op) {
                case Operation::Save:
                case Operation::HardLinkedSave:
                    EXPECT_EQ(document()->isModified(), reported);
                    if (reported) {
                        EXPECT_EQ(messageTexts(),
                                  QStringList{qstr(platform::fx::fileErrorMessage(
                                      platform::fx::causeFromErrno(error), path.toStdU16String()))});
                    } else {
                        EXPECT_TRUE(ui.messages().isEmpty());
                    }
                    break;
                case Operation::Export:
                    if (reported) {
                        EXPECT_EQ(messageTexts(), QStringList{resString(res::IDP_EXPORT_FAILED) +
                                                              QString::fromLocal8Bit(
                                                                  std::strerror(error))});
                    } else {
                        EXPECT_TRUE(ui.messages().isEmpty());
                    }
                    break;
                case Operation::SettingsWrite:
                    EXPECT_EQ(settingsWritten, !reported);
                    break;
                }
            }
        }
    }
    platform::shell::setWriteFunctionForTesting(nullptr);
    EXPECT_EQ(runs, 5 * (3 * 9 + 10));
    // The wording a full disk gets, once in full.
    EXPECT_EQ(qstr(platform::fx::fileErrorMessage(platform::fx::causeFromErrno(ENOSPC), u"/m")),
              QStringLiteral("/m へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。"));
}
