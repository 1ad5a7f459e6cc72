#include "platform/fx/FileError.h"

#include "res/Resource.h"
#include "res/Strings.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <set>
#include <string>

using platform::fx::FileErrorCause;
using platform::fx::causeFromErrno;
using platform::fx::causeFromWindowsError;
using platform::fx::fileErrorMessage;

TEST(FileErrorCause, WindowsCodesFallIntoTheirClasses)
{
    struct Case {
        std::uint32_t code;
        FileErrorCause cause;
    };
    const Case cases[] = {
        {0, FileErrorCause::None},
        {2, FileErrorCause::FileNotFound},      {6, FileErrorCause::FileNotFound},
        {18, FileErrorCause::FileNotFound},     {3, FileErrorCause::BadPath},
        {4, FileErrorCause::TooManyOpenFiles},  {5, FileErrorCause::AccessDenied},
        {11, FileErrorCause::InvalidFile},      {16, FileErrorCause::RemoveCurrentDir},
        {62, FileErrorCause::DirectoryFull},    {25, FileErrorCause::BadSeek},
        {21, FileErrorCause::HardIO},           {32, FileErrorCause::SharingViolation},
        {33, FileErrorCause::LockViolation},    {39, FileErrorCause::DiskFull},
        {112, FileErrorCause::DiskFull},        {38, FileErrorCause::EndOfFile},
    };
    for (const Case& c : cases)
        EXPECT_EQ(causeFromWindowsError(c.code), c.cause) << "code " << c.code;
    for (std::uint32_t unknown : {1u, 7u, 87u, 183u, 0xFFFFFFFFu})
        EXPECT_EQ(causeFromWindowsError(unknown), FileErrorCause::Generic) << "code " << unknown;
}

// The errors a save (create a temporary file, write, fsync, rename) or an open can meet.
TEST(FileErrorCause, ErrnoValuesASaveCanMeet)
{
    EXPECT_EQ(causeFromErrno(0), FileErrorCause::None);
    EXPECT_EQ(causeFromErrno(ENOENT), FileErrorCause::FileNotFound);
    for (int e : {ENOTDIR, ENAMETOOLONG, ELOOP})
        EXPECT_EQ(causeFromErrno(e), FileErrorCause::BadPath) << e;
    for (int e : {EACCES, EPERM, EROFS, EISDIR})
        EXPECT_EQ(causeFromErrno(e), FileErrorCause::AccessDenied) << e;
    for (int e : {ENOSPC, EDQUOT, EFBIG})
        EXPECT_EQ(causeFromErrno(e), FileErrorCause::DiskFull) << e;
    for (int e : {EMFILE, ENFILE})
        EXPECT_EQ(causeFromErrno(e), FileErrorCause::TooManyOpenFiles) << e;
    EXPECT_EQ(causeFromErrno(EIO), FileErrorCause::HardIO);
    EXPECT_EQ(causeFromErrno(ETXTBSY), FileErrorCause::SharingViolation);
    EXPECT_EQ(causeFromErrno(ENOLCK), FileErrorCause::LockViolation);
    EXPECT_EQ(causeFromErrno(ESPIPE), FileErrorCause::BadSeek);
    EXPECT_EQ(causeFromErrno(EBADF), FileErrorCause::InvalidFile);
    EXPECT_EQ(causeFromErrno(EMLINK), FileErrorCause::DirectoryFull);
    // Nothing specific to say: the generic message, never "no error".
    for (int e : {EXDEV, ENOMEM, EINTR, -1, 99999})
        EXPECT_EQ(causeFromErrno(e), FileErrorCause::Generic) << e;
}

TEST(FileErrorMessage, NamesThePathOrTheUnnamedFile)
{
    EXPECT_EQ(fileErrorMessage(FileErrorCause::AccessDenied, u"/tmp/メモ.txt"),
              u"/tmp/メモ.txt へのｱｸｾｽは拒否されました。");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::DiskFull, u""),
              u"無題のﾌｧｲﾙ へのｱｸｾｽ中にﾃﾞｨｽｸがいっぱいになりました。");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::FileNotFound, u"a"), u"a が見つかりませんでした。");
    EXPECT_EQ(fileErrorMessage(FileErrorCause::None, u"/x"), u"ｴﾗｰはありませんでした。");
}

TEST(FileErrorMessage, EveryCauseHasItsOwnMessageNamingThePathOnce)
{
    const std::u16string path = u"/data/報告.txt";
    std::set<std::u16string> messages;
    for (int c = 1; c <= 14; ++c) {
        const std::u16string m = fileErrorMessage(static_cast<FileErrorCause>(c), path);
        const std::size_t at = m.find(path);
        ASSERT_NE(at, std::u16string::npos) << "cause " << c;
        EXPECT_EQ(m.find(path, at + 1), std::u16string::npos) << "cause " << c;
        EXPECT_EQ(m.find(u"%1"), std::u16string::npos) << "cause " << c;
        EXPECT_TRUE(messages.insert(m).second) << "cause " << c << " repeats another's text";
    }
}

TEST(FileErrorMessage, PathsAreInsertedLiterally)
{
    // A path may contain anything a file name can, placeholders included.
    EXPECT_EQ(fileErrorMessage(FileErrorCause::BadSeek, u"/tmp/%1%2.txt"),
              u"/tmp/%1%2.txt のｼｰｸに失敗しました。");
}

TEST(FileErrorMessage, CauseOutsideTheEnumIsReportedAsGeneric)
{
    const std::u16string generic = fileErrorMessage(FileErrorCause::Generic, u"f");
    EXPECT_EQ(fileErrorMessage(static_cast<FileErrorCause>(15), u"f"), generic);
    EXPECT_EQ(fileErrorMessage(static_cast<FileErrorCause>(-1), u"f"), generic);
    EXPECT_FALSE(generic.empty());
}
