#include "core/sync/LineMatch.h"

#include "core/store/RecordLine.h"

#include <deque>
#include <string_view>
#include <unordered_map>

namespace dolvane {
namespace {

using Match = std::vector<std::optional<std::size_t>>;

// The start and the task of a line as stored: what a to-do is known by when its bytes changed.
struct Identity {
    std::string start;
    std::string task;
};

Identity IdentityOf(std::string_view line)
{
    ToDoRecord row = ParseRecordLine(line, false);
    return {std::move(row.StartText), std::move(row.TaskText)};
}

class Matcher {
public:
    Matcher(std::span<const std::string> base, std::span<const std::string> now)
        : base_(base),
          now_(now),
          result_(now.size()),
          baseUsed_(base.size(), false)
    {
    }

    Match Run()
    {
        PairUnchanged();
        PairRuns();
        PairByKey(NowUnpaired(), BaseUnpaired(0, base_.size()), [this](std::size_t n, std::size_t b) {
            const Identity& a = NowIdentity(n);
            const Identity& c = BaseIdentity(b);
            return a.start == c.start && a.task == c.task;
        });
        return std::move(result_);
    }

private:
    void Pair(std::size_t n, std::size_t b)
    {
        result_[n] = b;
        baseUsed_[b] = true;
    }

    void PairUnchanged()
    {
        std::unordered_map<std::string_view, std::deque<std::size_t>> places;
        for (std::size_t b = 0; b < base_.size(); ++b) {
            places[base_[b]].push_back(b);
        }
        for (std::size_t n = 0; n < now_.size(); ++n) {
            const auto found = places.find(now_[n]);
            if (found != places.end() && !found->second.empty()) {
                Pair(n, found->second.front());
                found->second.pop_front();
            }
        }
    }

    void PairRuns()
    {
        for (std::size_t first = 0; first < now_.size();) {
            if (result_[first]) {
                ++first;
                continue;
            }
            std::size_t end = first;
            while (end < now_.size() && !result_[end]) {
                ++end;
            }
            // Base places strictly between the neighbours; neighbours that swapped places leave
            // no room between them, and their run waits for the last pass.
            const std::size_t low = first == 0 ? 0 : *result_[first - 1] + 1;
            const std::size_t high = end == now_.size() ? base_.size() : *result_[end];
            if (low < high) {
                PairRun(first, end, BaseUnpaired(low, high));
            }
            first = end;
        }
    }

    void PairRun(std::size_t first, std::size_t end, const std::vector<std::size_t>& candidates)
    {
        std::vector<std::size_t> run;
        for (std::size_t n = first; n < end; ++n) {
            run.push_back(n);
        }
        if (run.size() != candidates.size()) {
            PairByKey(run, candidates,
                      [this](std::size_t n, std::size_t b) { return NowIdentity(n).start == BaseIdentity(b).start; });
            PairByKey(Unpaired(run), BaseStillUnpaired(candidates),
                      [this](std::size_t n, std::size_t b) { return NowIdentity(n).task == BaseIdentity(b).task; });
        }
        const std::vector<std::size_t> restNow = Unpaired(run);
        const std::vector<std::size_t> restBase = BaseStillUnpaired(candidates);
        for (std::size_t i = 0; i < restNow.size() && i < restBase.size(); ++i) {
            Pair(restNow[i], restBase[i]);
        }
    }

    // Each line of `lines` (in order) with the first unpaired candidate that `same` accepts.
    template <typename Same>
    void PairByKey(const std::vector<std::size_t>& lines, const std::vector<std::size_t>& candidates, Same same)
    {
        for (const std::size_t n : lines) {
            for (const std::size_t b : candidates) {
                if (!baseUsed_[b] && same(n, b)) {
                    Pair(n, b);
                    break;
                }
            }
        }
    }

    std::vector<std::size_t> BaseUnpaired(std::size_t low, std::size_t high) const
    {
        std::vector<std::size_t> places;
        for (std::size_t b = low; b < high; ++b) {
            if (!baseUsed_[b]) {
                places.push_back(b);
            }
        }
        return places;
    }

    std::vector<std::size_t> BaseStillUnpaired(const std::vector<std::size_t>& places) const
    {
        std::vector<std::size_t> rest;
        for (const std::size_t b : places) {
            if (!baseUsed_[b]) {
                rest.push_back(b);
            }
        }
        return rest;
    }

    std::vector<std::size_t> Unpaired(const std::vector<std::size_t>& lines) const
    {
        std::vector<std::size_t> rest;
        for (const std::size_t n : lines) {
            if (!result_[n]) {
                rest.push_back(n);
            }
        }
        return rest;
    }

    std::vector<std::size_t> NowUnpaired() const
    {
        std::vector<std::size_t> rest;
        for (std::size_t n = 0; n < now_.size(); ++n) {
            if (!result_[n]) {
                rest.push_back(n);
            }
        }
        return rest;
    }

    // Parsed only for the few lines that changed, once each.
    const Identity& NowIdentity(std::size_t n) { return Cached(nowIdentities_, now_, n); }
    const Identity& BaseIdentity(std::size_t b) { return Cached(baseIdentities_, base_, b); }

    static const Identity& Cached(std::unordered_map<std::size_t, Identity>& cache, std::span<const std::string> lines,
                                  std::size_t index)
    {
        auto found = cache.find(index);
        if (found == cache.end()) {
            found = cache.emplace(index, IdentityOf(lines[index])).first;
        }
        return found->second;
    }

    std::span<const std::string> base_;
    std::span<const std::string> now_;
    Match result_;
    std::vector<bool> baseUsed_;
    std::unordered_map<std::size_t, Identity> nowIdentities_;
    std::unordered_map<std::size_t, Identity> baseIdentities_;
};

}  // namespace

std::vector<std::optional<std::size_t>> MatchLines(std::span<const std::string> base, std::span<const std::string> now)
{
    return Matcher(base, now).Run();
}

}  // namespace dolvane
