// The recovery writer's thread: the newest request wins, a removal is never undone by a write
// asked for before it, and a failed write is told.

#include "RecoveryTestSupport.h"

#include "doc/RecoveryWriter.h"

#include <atomic>
#include <cerrno>

using doc::RecoveryWriter;
namespace {
class RecoveryWriterTest : public quillet_test::RecoveryFolderTest {};
} // namespace

TEST_F(RecoveryWriterTest, TheWriterKeepsTheNewestStateAndTellsOfFailures)
{
    std::atomic<int> failures = 0, lastError = 0;
    auto writer = std::make_unique<RecoveryWriter>(folder, [&](int error) {
        lastError = error;
        ++failures;
    });
    const std::string record = folder + '/' + writer->name();
    const auto onDisk = [&] {
        doc::RecoveryRecord r;
        EXPECT_EQ(doc::parseRecoveryRecord(contents(record), r), doc::RecordFault::None);
        return r;
    };

    for (int v = 1; v <= 20; ++v)
        writer->write(sample(v));
    writer->wait();
    EXPECT_EQ(onDisk(), sample(20));
    EXPECT_TRUE(doc::scanRecoveryFolder(folder).orphans.empty());

    writer->write(sample(21));
    writer->remove();
    writer->wait();
    EXPECT_TRUE(names().empty()) << "the removal asked for last wins";
    writer->remove();
    writer->write(sample(22));
    writer->wait();
    EXPECT_EQ(onDisk(), sample(22));
    EXPECT_EQ(failures, 0);

    platform::shell::setWriteFunctionForTesting([](int, const void*, size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    writer->write(sample(23));
    writer->wait();
    platform::shell::setWriteFunctionForTesting(nullptr);
    EXPECT_EQ(failures, 1);
    EXPECT_EQ(lastError, ENOSPC);
    EXPECT_EQ(onDisk(), sample(22));

    // Ending without a removal is what a program that dies does: the record stays, an
    // orphan; the writer still finishes what it was asked first.
    writer->write(sample(24));
    writer.reset();
    auto scan = doc::scanRecoveryFolder(folder);
    ASSERT_EQ(scan.orphans.size(), 1u);
    EXPECT_EQ(scan.orphans[0].head(), headOf(sample(24)));

    // A new writer adopts it; its next write replaces it under the same name.
    RecoveryWriter adopter(folder);
    adopter.adopt(scan.orphans[0]);
    EXPECT_EQ(folder + '/' + adopter.name(), record);
    adopter.write(sample(25));
    adopter.wait();
    EXPECT_EQ(onDisk(), sample(25));
    adopter.remove();
    adopter.wait();
    EXPECT_TRUE(names().empty());
}
