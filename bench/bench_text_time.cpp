// Per-call cost of the text and time helpers that run for every row at load and on each tick.
// The time column is ns per call; items/s is the same figure as a rate.

#include "core/text/Cp932Codec.h"
#include "core/text/ReplaceText.h"
#include "core/time/TimeTexts.h"

#include <benchmark/benchmark.h>

#include <string>

namespace {

using namespace dolvane;

const std::string kStored = "\xA5\xA5";
const std::string kBreak = "\r\n";

// A to-do body of about 200 bytes of cp932 with a few line breaks, as typed into the memo.
const std::string& TaskText()
{
    static const std::string text = Utf8ToCp932("来週の定例会議（4/12 10:00～）までに見積書の第2版を作成する。\r\n"
                                                "・前回指摘された単価の見直し\r\n"
                                                "・納期を5月末から6月中旬へ変更した場合の差額\r\n"
                                                "・ぇ、ぉなど小書き文字を含む品名の表記確認\r\n"
                                                "担当：山田さんに確認後、部長へ提出。");
    return text;
}

void BM_FormatDateTimeText(benchmark::State& state)
{
    const DateTime moment = ParseDateTimeText("2010/04/01 09:05");
    for (auto _ : state) {
        benchmark::DoNotOptimize(FormatDateTimeText(moment));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatDateTimeText);

void BM_ParseDateTimeText(benchmark::State& state)
{
    const std::string text = "2010/04/01 09:05";
    for (auto _ : state) {
        benchmark::DoNotOptimize(ParseDateTimeText(text));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_ParseDateTimeText);

void BM_DurationText(benchmark::State& state)
{
    const DateTime earlier = ParseDateTimeText("2010/04/01 09:05");
    const DateTime later = ParseDateTimeText("2010/04/03 14:30");
    for (auto _ : state) {
        benchmark::DoNotOptimize(DurationText(later, earlier));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DurationText);

void BM_ReplaceText_BreaksToStored(benchmark::State& state)
{
    const std::string& text = TaskText();
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReplaceText(text, kBreak, kStored));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(text.size()));
}
BENCHMARK(BM_ReplaceText_BreaksToStored);

void BM_ReplaceText_StoredToBreaks(benchmark::State& state)
{
    const std::string stored = ReplaceText(TaskText(), kBreak, kStored);
    for (auto _ : state) {
        benchmark::DoNotOptimize(ReplaceText(stored, kStored, kBreak));
    }
    state.SetItemsProcessed(state.iterations());
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(stored.size()));
}
BENCHMARK(BM_ReplaceText_StoredToBreaks);

}  // namespace
