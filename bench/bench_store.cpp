// Loading and saving a large list file: 100,000 lines of realistic Japanese to-dos.
// Prints lines per second for each operation, the time to merely read the file's bytes (the
// I/O floor) and the memory the loaded rows take per row.
#include "core/store/ListStore.h"
#include "core/text/Cp932Codec.h"
#include "core/time/TimeTexts.h"
#include "core/view/Search.h"
#include "platform/ConversionLibraryLoader.h"
#include "platform/PosixFileSystem.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <malloc.h>
#include <memory>
#include <random>
#include <unistd.h>

namespace dolvane {
namespace {

constexpr int kLines = 100'000;

std::filesystem::path BenchFile()
{
    return std::filesystem::temp_directory_path() / ("dolvane-bench-" + std::to_string(::getpid())) / "todolist.txt";
}

std::string GenerateList()
{
    const char* tasks[] = {"企画書を書く",
                           "見積もりを作成する",
                           "会議の資料を準備",
                           "経費精算",
                           "サーバーの更新",
                           "お客様へ連絡",
                           "ﾚﾎﾟｰﾄの提出",
                           "報告書を書く\r\n部長に提出する",
                           "引っ越しの手続き\r\n住所変更\r\n銀行にも連絡"};
    const char* people[] = {"", "", "総務", "営業", "山田", "佐藤"};
    const char* categories[] = {"", "仕事", "仕事", "家庭", "買い物", "趣味"};
    std::mt19937 random(7);
    const DateTime base = ParseDateTimeText("2026/12/01 09:00");
    std::string text;
    for (int i = 0; i < kLines; ++i) {
        ToDoRecord row;
        row.StartText = FormatDateTimeText(DateTime{base.days - random() % 40});
        row.DeadlineText = FormatDateTimeText(DateTime{base.days + random() % 30});
        row.Completed = i % 10 == 0;
        if (row.Completed) {
            row.CompletedText = FormatDateTimeText(DateTime{base.days - random() % 20});
        }
        row.WarningHours = std::to_string(24 * (random() % 8));
        row.Importance = std::to_string(random() % 6);
        row.Progress = std::to_string(random() % 101);
        row.Executor = Utf8ToCp932(people[random() % 6]);
        row.Category = Utf8ToCp932(categories[random() % 6]);
        row.TaskText = Utf8ToCp932(tasks[random() % 9]) + " #" + std::to_string(i);
        text += FormatRecordLine(row) + "\r\n";
    }
    return text;
}

PosixFileSystem& Files()
{
    static PosixFileSystem files;
    return files;
}

const std::string& ListBytes()
{
    static const std::string bytes = [] {
        std::string text = GenerateList();
        FileError error;
        Files().WriteFileAtomically(BenchFile(), text, error);
        return text;
    }();
    return bytes;
}

const DateTime kNow = ParseDateTimeText("2026/12/06 12:00");
const LineFilter kOpen = [](const LineFacts& facts) { return !facts.completed; };

void SetCounters(benchmark::State& state)
{
    state.counters["lines/s"] =
        benchmark::Counter(static_cast<double>(state.iterations()) * kLines, benchmark::Counter::kIsRate);
    state.counters["MB"] = static_cast<double>(ListBytes().size()) / 1e6;
}

void BM_ReadBytesOnly(benchmark::State& state)
{
    ListBytes();
    for (auto _ : state) {
        FileError error;
        auto contents = Files().ReadWholeFile(BenchFile(), error);
        benchmark::DoNotOptimize(contents);
    }
    SetCounters(state);
}
BENCHMARK(BM_ReadBytesOnly)->Unit(benchmark::kMillisecond);

void BM_LoadList(benchmark::State& state)
{
    ListBytes();
    std::size_t bytesPerRow = 0;
    for (auto _ : state) {
        const std::size_t before = mallinfo2().uordblks + mallinfo2().hblkhd;
        ListStore store(Files());
        FileError error;
        store.LoadList(BenchFile(), {}, kNow, error);
        bytesPerRow = (mallinfo2().uordblks + mallinfo2().hblkhd - before) / store.Rows().size();
        benchmark::DoNotOptimize(store);
    }
    SetCounters(state);
    state.counters["heap bytes/row"] = static_cast<double>(bytesPerRow);
}
BENCHMARK(BM_LoadList)->Unit(benchmark::kMillisecond);

void BM_SaveListFull(benchmark::State& state)
{
    ListBytes();
    ListStore store(Files());
    FileError error;
    store.LoadList(BenchFile(), {}, kNow, error);
    for (auto _ : state) {
        store.SaveList(BenchFile(), SaveMode::Full, error, {});
    }
    SetCounters(state);
}
BENCHMARK(BM_SaveListFull)->Unit(benchmark::kMillisecond);

void BM_SaveListMerge(benchmark::State& state)
{
    ListBytes();
    ListStore store(Files());
    FileError error;
    store.LoadList(BenchFile(), kOpen, kNow, error);
    for (auto _ : state) {
        store.SaveList(BenchFile(), SaveMode::Merge, error, {});
    }
    SetCounters(state);
}
BENCHMARK(BM_SaveListMerge)->Unit(benchmark::kMillisecond);

// The search tab over the whole file with exact matching off and the conversion library present
// (when it was built beside this program): every line misses, so each one goes through the exact
// search, the six converted texts and the lower-cased comparison. Target: under 200 ms.
void BM_LoadListSearchNoMatch(benchmark::State& state)
{
    ListBytes();
    const auto library = LoadConversionLibrary(std::filesystem::read_symlink("/proc/self/exe").parent_path());
    for (auto _ : state) {
        const auto matcher = std::make_shared<SearchMatcher>(Utf8ToCp932("該当しない検索語"), false, library.get());
        const LineFilter search = [matcher](const LineFacts& facts) { return matcher->Matches(facts.value); };
        ListStore store(Files());
        FileError error;
        store.LoadList(BenchFile(), search, kNow, error);
        benchmark::DoNotOptimize(store);
    }
    SetCounters(state);
    state.counters["library"] = library != nullptr ? 1 : 0;
}
BENCHMARK(BM_LoadListSearchNoMatch)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace dolvane

int main(int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::filesystem::remove_all(dolvane::BenchFile().parent_path());
    return 0;
}
