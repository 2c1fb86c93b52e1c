#include "cli/ListCommand.h"

#include "cli/CliText.h"
#include "cli/ListOutput.h"
#include "core/store/ListStore.h"
#include "core/text/Cp932Codec.h"
#include "core/view/Search.h"
#include "core/view/StatusRefresh.h"
#include "core/view/ViewFilter.h"

#include <array>
#include <optional>
#include <utility>

namespace dolvane::cli {
namespace {

constexpr OptionRule kListOptions[] = {
    {"--file"},        {"--view"},      {"--category"}, {"--search"}, {"--exact", false},
    {"--fold", false}, {"--keep-days"}, {"--now"},      {"--format"}, {"--cp932", false},
};

// The main tabs by their option word, in tab order; the captions are the window's.
constexpr std::array<std::pair<std::string_view, std::string_view>, 5> kViews = {{
    {"all", "全て"},
    {"none", "なし"},
    {"search", "検索"},
    {"open", "未完了"},
    {"done", "完了"},
}};

MainTab ViewOption(const CommandLine& line)
{
    const auto view = line.Value("--view");
    if (!view) {
        // A search text alone means the search tab; otherwise the tab the window starts on.
        return line.Has("--search") ? MainTab::Search : MainTab::All;
    }
    for (std::size_t tab = 0; tab < kViews.size(); ++tab) {
        if (kViews[tab].first == *view) {
            return static_cast<MainTab>(tab);
        }
    }
    throw CliError("--view には all, none, search, open, done のどれかを指定してください: " + *view);
}

ListFormat FormatOption(const CommandLine& line)
{
    const std::string format = line.Value("--format").value_or("text");
    constexpr std::array<std::pair<std::string_view, ListFormat>, 4> kFormats = {{
        {"text", ListFormat::Text},
        {"tsv", ListFormat::Tsv},
        {"csv", ListFormat::Csv},
        {"json", ListFormat::Json},
    }};
    for (const auto& [word, value] : kFormats) {
        if (word == format) {
            return value;
        }
    }
    throw CliError("--format には text, tsv, csv, json のどれかを指定してください: " + format);
}

// The filter text of the category tabs: what the selected category tab's caption would be.
std::string CategoryFilter(const CommandLine& line, MainTab tab)
{
    const auto category = line.Value("--category");
    if (!HasCategoryTabs(tab)) {
        if (category) {
            throw CliError("--category は --view open か --view done と一緒に指定してください");
        }
        return Utf8ToCp932(kViews[static_cast<std::size_t>(tab)].second);
    }
    return category ? ArgumentToCp932(*category, "--category") : Utf8ToCp932("全て");
}

}  // namespace

void VisitViewRows(const CommandLine& line, const CliEnvironment& environment,
                   const std::function<void(ToDoRecord&)>& visit)
{
    const MainTab tab = ViewOption(line);
    if (line.Has("--exact") && line.Has("--fold")) {
        throw CliError("--exact と --fold は同時に指定できません");
    }
    if (line.Has("--search") && tab != MainTab::Search) {
        throw CliError("--search は --view search と一緒に指定してください");
    }
    const std::string categoryFilter = CategoryFilter(line, tab);
    const std::string searchText = ArgumentToCp932(line.Value("--search").value_or(""), "--search");

    // The library only takes part in a search that folds, so only such a search loads it.
    std::unique_ptr<ConversionLibrary> library;
    std::function<bool(std::string_view)> searchMatches;
    if (tab == MainTab::Search) {
        const bool caseSensitive =
            line.Has("--exact") || (!line.Has("--fold") && ReadProgramSettings(environment).CaseSensitiveSearch);
        if (!caseSensitive && environment.loadConversionLibrary) {
            library = environment.loadConversionLibrary();
        }
        auto matcher = std::make_shared<SearchMatcher>(searchText, caseSensitive, library.get());
        searchMatches = [matcher](std::string_view value) { return matcher->Matches(value); };
    }
    const LineFilter filter = [tab, &categoryFilter, &searchMatches](const LineFacts& facts) {
        return RowPassesView(tab, categoryFilter, facts, searchMatches);
    };

    // Row by row as they are read: a long list is never held whole.
    FileError error;
    if (!VisitListRows(environment.files, ListFileOption(line, environment), filter, visit, error)) {
        throw CliError(error.message);
    }
}

int RunList(std::span<const std::string> arguments, const CliEnvironment& environment, std::ostream& out)
{
    const CommandLine line(arguments, kListOptions, 0);
    const ListFormat format = FormatOption(line);
    if (line.Has("--cp932") && format != ListFormat::Csv) {
        throw CliError("--cp932 は --format csv と一緒に指定してください");
    }
    const int keepDays = line.Number("--keep-days", kKeepDaysRange.minimum, kKeepDaysRange.maximum)
                             .value_or(ReadProgramSettings(environment).KeepDays);
    const DateTime now = NowOption(line, environment);

    RowWriter writer(out, format, now, keepDays, line.Has("--cp932"));
    VisitViewRows(line, environment, [&writer, now](ToDoRecord& row) {
        // The texts the window shows once the status refresh has visited the row ("経過率" off).
        ComputeSettledRowTexts(row, now);
        writer.Row(row);
    });
    writer.Finish();
    return 0;
}

}  // namespace dolvane::cli
