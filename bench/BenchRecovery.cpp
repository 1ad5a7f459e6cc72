// The recovery record's two costs: writing it for the working text (once a second at most
// while the text changes, on the writer's thread), and the look through the folder at a
// start or an open, here with a hundred records left by programs that died.
#include "WorkingText.h"

#include "doc/RecoveryFile.h"
#include "doc/RecoveryFolder.h"
#include "doc/RecoveryRecord.h"

#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace {

// A private folder under the system's temporary folder, removed afterwards.
class BenchFolder {
public:
    BenchFolder()
    {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "quillet-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data()))
            m_dir = pattern;
    }
    ~BenchFolder()
    {
        std::error_code ignored;
        std::filesystem::remove_all(m_dir, ignored);
    }
    std::string recovery() const { return (m_dir / "Quillet/recovery").string(); }

private:
    std::filesystem::path m_dir;
};

doc::RecoveryRecord workingRecord()
{
    return {u"/home/user/作業/working.txt", 932, 1733900000, bench::workingTextUtf16()};
}

} // namespace

// The bytes alone: what the writer's thread spends before it touches the disk.
static void BM_RecoveryEncodeWorkingText(benchmark::State& state)
{
    const doc::RecoveryRecord record = workingRecord();
    std::size_t bytes = 0;
    for (auto _ : state) {
        const std::string encoded = doc::encodeRecoveryRecord(record);
        bytes = encoded.size();
        benchmark::DoNotOptimize(encoded.data());
    }
    state.SetBytesProcessed(std::int64_t(state.iterations() * bytes));
}
BENCHMARK(BM_RecoveryEncodeWorkingText)->Unit(benchmark::kMillisecond);

// The whole write: bytes, temporary file, flush of file and folder, rename, lock.
static void BM_RecoveryWriteWorkingText(benchmark::State& state)
{
    BenchFolder folder;
    doc::RecoveryFile file(folder.recovery());
    const doc::RecoveryRecord record = workingRecord();
    for (auto _ : state) {
        if (file.write(record) != 0) {
            state.SkipWithError("the record could not be written");
            break;
        }
    }
    file.remove();
}
BENCHMARK(BM_RecoveryWriteWorkingText)->Unit(benchmark::kMillisecond)->UseRealTime();

// A hundred orphans of 16 KiB each, every one taken (its head read, its lock held) and let
// go again, as a start-up that offers them does before the first question.
static void BM_RecoveryStartupCheck100Records(benchmark::State& state)
{
    BenchFolder folder;
    for (int i = 0; i < 100; ++i) {
        doc::RecoveryFile orphan(folder.recovery());
        doc::RecoveryRecord record = workingRecord();
        record.path = u"/home/user/作業/memo" + std::u16string(1, char16_t(u'0' + i % 10)) +
                      u".txt";
        record.savedAt += i;
        record.text.resize(8192);
        if (orphan.write(record) != 0) {
            state.SkipWithError("the records could not be written");
            return;
        }
    }
    std::size_t found = 0;
    for (auto _ : state) {
        const doc::RecoveryScan scan = doc::scanRecoveryFolder(folder.recovery());
        found = scan.orphans.size();
    }
    if (found != 100)
        state.SkipWithError("not every record was found");
    state.counters["records"] = double(found);
}
BENCHMARK(BM_RecoveryStartupCheck100Records)->Unit(benchmark::kMicrosecond)->UseRealTime();
