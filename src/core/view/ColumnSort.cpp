#include "core/view/ColumnSort.h"

#include "core/text/Cp932Codec.h"

#include <unicode/coll.h>
#include <unicode/locid.h>
#include <unicode/utypes.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>
#include <stdexcept>
#include <string>
#include <utility>

namespace dolvane {
namespace {

bool IsVisibleColumn(int column)
{
    return column >= 0 && column < kVisibleColumnCount;
}

// The list's texts are Japanese, so they sort by the Japanese rules (kana in gojūon order, then
// kanji) whatever locale the account runs under; a fixed locale also keeps one list in the same order
// on every machine. The default tertiary strength tells "a" from "A", as a case-sensitive sort must.
// Built once: opening a collator loads its tailoring, far dearer than a comparison. Compare and
// getSortKey are const in ICU and safe to share.
const icu::Collator& JapaneseCollator()
{
    static const std::unique_ptr<const icu::Collator> collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        std::unique_ptr<icu::Collator> made(icu::Collator::createInstance(icu::Locale("ja"), status));
        if (U_FAILURE(status) || made == nullptr) {
            throw std::runtime_error(std::string("cannot open the Japanese collator: ") + u_errorName(status));
        }
        return std::unique_ptr<const icu::Collator>(std::move(made));
    }();
    return *collator;
}

const std::string& ColumnText(const ToDoRecord& row, int column)
{
    return row.Text(static_cast<Field>(column));
}

// Appends the collation key of `text`, terminating zero included, to `keys`.
void AppendSortKey(const icu::Collator& collator, const std::u16string& text, std::vector<std::uint8_t>& keys)
{
    const auto sourceLength = static_cast<std::int32_t>(text.size());
    const std::size_t offset = keys.size();
    // Most keys of Japanese text fit in three bytes per character; a longer key asks again.
    keys.resize(offset + 3 * text.size() + 16);
    auto resultLength = static_cast<std::int32_t>(keys.size() - offset);
    std::int32_t length = collator.getSortKey(text.data(), sourceLength, keys.data() + offset, resultLength);
    if (length > resultLength) {
        keys.resize(offset + static_cast<std::size_t>(length));
        resultLength = length;
        length = collator.getSortKey(text.data(), sourceLength, keys.data() + offset, resultLength);
    }
    keys.resize(offset + static_cast<std::size_t>(length));
}

// A row's place in the sort: where its collation key lies in the shared buffer, and the key's
// first bytes as one number, so most comparisons never read the buffer.
struct KeyedRow {
    std::uint64_t head = 0;
    std::size_t keyStart = 0;
    std::size_t keyLength = 0;
    std::size_t row = 0;
};
constexpr std::size_t kHeadBytes = sizeof(std::uint64_t);

// The first key bytes big-endian, padded with zeros: numbers compare as the bytes do.
std::uint64_t KeyHead(const std::uint8_t* key, std::size_t length)
{
    std::uint64_t head = 0;
    for (std::size_t i = 0; i < kHeadBytes; ++i) {
        head = (head << 8U) | (i < length ? key[i] : 0U);
    }
    return head;
}

// Moves each row to its place in `order` (order[i] is the old position of the row that goes to
// i), following each cycle once, so no row is copied and no second list is allocated.
void ApplyOrder(std::vector<ToDoRecord>& rows, std::vector<std::size_t>& order)
{
    for (std::size_t start = 0; start < order.size(); ++start) {
        if (order[start] == start) {
            continue;
        }
        ToDoRecord held = std::move(rows[start]);
        std::size_t to = start;
        while (order[to] != start) {
            const std::size_t from = order[to];
            rows[to] = std::move(rows[from]);
            order[to] = to;
            to = from;
        }
        rows[to] = std::move(held);
        order[to] = to;
    }
}

}  // namespace

int CollateCp932(std::string_view a, std::string_view b)
{
    const std::u16string textA = DecodeCp932ForDisplay(a);
    const std::u16string textB = DecodeCp932ForDisplay(b);
    UErrorCode status = U_ZERO_ERROR;
    const int cmp = JapaneseCollator().compare(textA.data(), static_cast<std::int32_t>(textA.size()), textB.data(),
                                               static_cast<std::int32_t>(textB.size()), status);
    if (U_FAILURE(status)) {
        throw std::runtime_error(std::string("cannot compare texts: ") + u_errorName(status));
    }
    return cmp;
}

void SortRowsByColumn(std::vector<ToDoRecord>& rows, int column, bool ascending)
{
    if (!IsVisibleColumn(column) || rows.size() < 2) {
        return;
    }
    const icu::Collator& collator = JapaneseCollator();

    // All keys in one buffer: a hundred thousand small allocations would cost more than the keys.
    std::vector<std::uint8_t> keys;
    std::vector<KeyedRow> keyed(rows.size());
    for (std::size_t i = 0; i < rows.size(); ++i) {
        keyed[i].keyStart = keys.size();
        keyed[i].row = i;
        AppendSortKey(collator, DecodeCp932ForDisplay(ColumnText(rows[i], column)), keys);
        keyed[i].keyLength = keys.size() - keyed[i].keyStart;
    }
    for (KeyedRow& entry : keyed) {
        entry.head = KeyHead(keys.data() + entry.keyStart, entry.keyLength);
    }

    // Byte order of the keys is the collator's order. A key ends in its only zero byte, so keys
    // with equal heads of which one ends inside the head are equal, and the rest of two longer
    // keys differs before the shorter one ends unless they are equal. Rows with equal texts keep
    // their present order in either direction, so clicking a header twice does not shuffle them.
    const auto less = [&keys, ascending](const KeyedRow& x, const KeyedRow& y) {
        if (x.head != y.head) {
            return ascending == (x.head < y.head);
        }
        if (x.keyLength > kHeadBytes && y.keyLength > kHeadBytes) {
            const int cmp = std::memcmp(keys.data() + x.keyStart + kHeadBytes, keys.data() + y.keyStart + kHeadBytes,
                                        std::min(x.keyLength, y.keyLength) - kHeadBytes);
            if (cmp != 0) {
                return ascending == (cmp < 0);
            }
        }
        return x.row < y.row;
    };
    std::sort(keyed.begin(), keyed.end(), less);

    std::vector<std::size_t> order(rows.size());
    std::transform(keyed.begin(), keyed.end(), order.begin(), [](const KeyedRow& entry) { return entry.row; });
    ApplyOrder(rows, order);
}

}  // namespace dolvane
