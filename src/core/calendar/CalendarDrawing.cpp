#include "core/calendar/CalendarDrawing.h"

#include "core/text/ByteKind.h"
#include "core/text/Numbers.h"

#include <algorithm>
#include <cstddef>
#include <optional>
#include <utility>

namespace dolvane {
namespace {

constexpr std::string_view kTodayMark = "\x81\x9C";  // ●
// Every weekday name is placed where 水 would be centred, so that all of them line up.
constexpr std::string_view kWidestWeekday = "\x90\x85";  // 水
constexpr std::string_view kMoreHolidaysMark = ">";
constexpr std::size_t kHolidayNameMaxLength = 10;
constexpr std::size_t kHeadLabelMaxLength = 20;

// Pixels of a date cell: the bar ends stop short of the cell's sides, and the labels sit beside
// the bar's row (the time label at the left, the head after it).
constexpr int kBarEndInset = 5;
constexpr int kTimeLabelLeft = 2;
constexpr int kHeadLabelLeft = 32;
constexpr int kHeadLabelSpare = 34;  // the head label must be narrower than the column less this

// Part of a text that may be shorter than the fixed layout: missing bytes read as empty.
std::string_view Part(std::string_view text, std::size_t position, std::size_t length = std::string_view::npos)
{
    return position < text.size() ? text.substr(position, length) : std::string_view{};
}

// The painter state the drawing steps change as they go, like a device context: every operation
// takes the fill, font and text background set last. Choosing a fill colour also makes text
// backgrounds opaque again, so "back to the cell colour" and "opaque labels" are the same move.
class PlanWriter final {
public:
    void SetFill(std::uint32_t colour) noexcept
    {
        fill_ = colour;
        opaqueText_ = true;
    }
    std::uint32_t Fill() const noexcept { return fill_; }
    void SetOpaqueText(bool opaque) noexcept { opaqueText_ = opaque; }
    void SetFontColour(std::uint32_t colour) noexcept { fontColour_ = colour; }
    void SetBold(bool bold) noexcept { bold_ = bold; }
    void SetPointSize(int pointSize) noexcept { pointSize_ = pointSize; }
    bool Bold() const noexcept { return bold_; }
    int PointSize() const noexcept { return pointSize_; }

    void FillRect(const PixelRect& rect)
    {
        Add(DrawKind::FillRect, rect.left, rect.top, rect.right, rect.bottom, fill_);
    }
    void FrameRect(const PixelRect& rect, std::uint32_t colour)
    {
        Add(DrawKind::FrameRect, rect.left, rect.top, rect.right, rect.bottom, colour);
    }
    void HorizontalLine(int x1, int x2, int y, std::uint32_t colour) { Add(DrawKind::Line, x1, y, x2, y, colour); }
    void Pixel(int x, int y, std::uint32_t colour) { Add(DrawKind::Pixel, x, y, x, y, colour); }
    void Text(int x, int y, std::string_view text)
    {
        Add(DrawKind::Text, x, y, x, y, fontColour_);
        auto& op = plan_.back();
        op.text = text;
        op.pointSize = pointSize_;
        op.bold = bold_;
        op.opaque = opaqueText_;
        op.background = opaqueText_ ? fill_ : 0;
    }

    DrawingPlan Take() noexcept { return std::move(plan_); }

private:
    void Add(DrawKind kind, int x1, int y1, int x2, int y2, std::uint32_t colour)
    {
        auto& op = plan_.emplace_back();
        op.kind = kind;
        op.x1 = x1;
        op.y1 = y1;
        op.x2 = x2;
        op.y2 = y2;
        op.colour = colour;
    }

    DrawingPlan plan_;
    std::uint32_t fill_ = 0xFFFFFF;
    std::uint32_t fontColour_ = 0;
    int pointSize_ = kCalendarPointSize;
    bool bold_ = false;
    bool opaqueText_ = false;
};

std::uint32_t HolidayBackground(HolidayKind kind) noexcept
{
    switch (kind) {
    case HolidayKind::Plain:
        return kPlainHolidayBackgroundColour;
    case HolidayKind::Marked:
        return kMarkedHolidayBackgroundColour;
    default:
        return kOtherHolidayBackgroundColour;
    }
}

std::uint32_t HolidayNameColour(HolidayKind kind) noexcept
{
    switch (kind) {
    case HolidayKind::Marked:
        return kMarkedHolidayNameColour;
    case HolidayKind::SecondMarked:
        return kSecondMarkedHolidayNameColour;
    default:
        return kHolidayNameColour;
    }
}

// The longest start of `head` (at most 20 bytes) narrower than `maxWidth`. A double-byte
// character is never cut in half, not even one the day item's own 20-byte cut left behind.
std::string_view FittedHead(std::string_view head, int maxWidth, const TextMeasure& measure)
{
    head = head.substr(0, kHeadLabelMaxLength);
    const auto kinds = ByteKinds(head);
    for (std::size_t length = head.size(); length > 0; --length) {
        if (kinds[length - 1] == ByteKind::Lead) {
            continue;
        }
        const auto candidate = head.substr(0, length);
        if (measure.TextWidth(candidate, kCalendarPointSize, false) < maxWidth) {
            return candidate;
        }
    }
    return {};
}

// Paints one date cell. Coordinates are the widget's pixels; `y` of a bar row is relative to the
// cell's top.
class DateCellPlanner final {
public:
    DateCellPlanner(const CalendarModel& model, const HolidayCalendar& holidays, const CalendarCell& cell,
                    const DateCellContext& context, const TextMeasure& measure)
        : model_(model),
          cell_(cell),
          context_(context),
          measure_(measure),
          date_(model.CellText(cell.column, cell.row)),
          dateKey_(DateKeyOf(date_)),
          left_(cell.rect.left),
          top_(cell.rect.top),
          centre_(cell.rect.Width() / 2),
          isToday_(!date_.empty() && date_ == context.todayText),
          isCurrent_(cell.column == model.CurrentColumn() && cell.row == model.CurrentRow())
    {
        const int year = YearOf(date_, context.todayText);
        holiday_ = holidays.HolidayNameOf(date_, year, kHolidayNameMaxLength);
        holidayCount_ = holidays.HolidayCountOf(date_, year);
    }

    DrawingPlan Plan()
    {
        FillBackground();
        // A cell past either end of years 1 to 9999 has no date: no day, bars or holiday.
        if (date_.empty()) {
            return writer_.Take();
        }
        if (isToday_) {
            DrawTodayMark();
        }
        DrawDayText();
        DrawBars();
        if (model_.HolidayNameTicks() > 0 && !holiday_.name.empty()) {
            DrawHolidayName();
        }
        return writer_.Take();
    }

private:
    // A cell whose text holds no year of its own (or one before the holiday rules apply) asks the
    // holidays of the current year.
    static int YearOf(std::string_view date, std::string_view today)
    {
        const auto year = ParseInt32(Part(date, 0, 4));
        if (year && *year >= 1900) {
            return *year;
        }
        return ParseInt32(Part(today, 0, 4)).value_or(1900);
    }

    bool InHighlightedMonth() const
    {
        if (date_.empty()) {
            return false;
        }
        const auto cellMonth = ParseInt32(Part(date_, 5, 2));
        const bool displayed = cellMonth == model_.DisplayedMonth();
        if (model_.ViewMode() == CalendarMode::Month) {
            return displayed;
        }
        // Week views highlight the month that holds the first shown Saturday.
        const auto saturday = CalendarModel::NeighbourDate(model_.RangeStartText(), 6);
        const bool firstWeekInOneMonth = Part(saturday, 0, 7) == Part(model_.RangeStartText(), 0, 7);
        return firstWeekInOneMonth ? displayed : !displayed;
    }

    // Precedence: selection over everything; then today over a holiday over the weekday or month.
    std::uint32_t Background() const
    {
        if (cell_.selected) {
            return kSelectedCellBackgroundColour;
        }
        std::uint32_t colour = kOtherDateBackgroundColour;
        if (cell_.column == 0) {
            colour = kSundayBackgroundColour;
        } else if (cell_.column == 6) {
            colour = kSaturdayBackgroundColour;
        } else if (InHighlightedMonth()) {
            colour = kShownMonthBackgroundColour;
        }
        if (!holiday_.name.empty()) {
            colour = HolidayBackground(holiday_.kind);
        }
        return isToday_ ? kTodayBackgroundColour : colour;
    }

    void FillBackground()
    {
        textColour_ = cell_.selected ? kSelectedCellTextColour : kDayTextColour;
        writer_.SetFill(Background());
        writer_.FillRect(cell_.rect);
    }

    void DrawTodayMark()
    {
        const auto background = writer_.Fill();
        writer_.SetOpaqueText(false);
        writer_.SetFontColour(kTodayMarkShadowColour);
        writer_.Text(left_ + 2, top_ + 2, kTodayMark);
        writer_.SetFontColour(cell_.selected ? textColour_ : kTodayMarkColour);
        writer_.Text(left_ + 1, top_ + 1, kTodayMark);
        writer_.SetFill(background);
    }

    void DrawDayText()
    {
        const auto monthDay = Part(date_, 5, 5);
        writer_.SetFontColour(textColour_);
        writer_.SetBold(true);
        writer_.SetPointSize(kDayTextPointSize);
        const int width = measure_.TextWidth(monthDay, kDayTextPointSize, true);
        writer_.Text(left_ + centre_ - width / 2, top_ + 1, monthDay);
        writer_.SetPointSize(kCalendarPointSize);
        rows_ = BarRowsFor(model_.ViewMode(), measure_);
    }

    void DrawBars();
    void DrawBarSegment(int y, int fill, bool fromPrevious, bool intoNext);
    void DrawRowHighlight(int y);
    void DrawHiddenCount(int hidden, std::uint32_t cellColour);
    void DrawLabels(const DayItem& item, int y, bool endsToday, bool highlighted, std::uint32_t cellColour);
    void DrawHolidayName();

    const CalendarModel& model_;
    const CalendarCell& cell_;
    const DateCellContext& context_;
    const TextMeasure& measure_;
    PlanWriter writer_;
    std::string date_;
    std::int32_t dateKey_;
    int left_;
    int top_;
    int centre_;
    bool isToday_;
    bool isCurrent_;
    HolidayName holiday_;
    int holidayCount_ = 0;
    std::uint32_t textColour_ = kDayTextColour;
    BarRows rows_;
};

void DateCellPlanner::DrawBars()
{
    const DayItemView items = model_.DayTodoLists().Items(date_);
    if (items.empty()) {
        return;
    }
    writer_.SetBold(false);
    const auto cellColour = writer_.Fill();
    const auto dayBefore = CalendarModel::NeighbourDate(date_, -1);
    const auto dayAfter = CalendarModel::NeighbourDate(date_, 1);

    // The model gave every shown to-do its row before painting; one without keeps its position.
    const auto slotOf = [this](const DayItem& item, int position) {
        const int slot = model_.BarSlotOf(item.row);
        return slot == -1 ? position : slot;
    };
    int neededRows = 0;
    for (std::size_t k = 0; k < items.size(); ++k) {
        neededRows = std::max(neededRows, slotOf(items[k], static_cast<int>(k)) + 1);
    }
    const int shownRows = rows_.Shown(context_.defaultRowHeight, static_cast<std::size_t>(neededRows));

    int position = 0;
    int hidden = 0;
    for (const DayItem& item : items) {
        const int slot = slotOf(item, position);
        const int y = rows_.Top(slot);
        // A row below the shown ones is left out, but the day's other to-dos keep their rows: the
        // list is ordered by span and importance, not by row, so a later item may sit higher up,
        // and its bar must run on straight from the days before.
        if (slot >= shownRows) {
            ++hidden;
            ++position;
            continue;
        }
        // Worked out only for the bars drawn: a crowded day lists thousands of to-dos, of which a
        // handful fit the cell. Days before the progress date are done, days after it not begun;
        // a fraction out of 0..100 (a hand-edited progress) must not draw past the bar's ends.
        int fill = 0;
        if (item.progressDay > dateKey_) {
            fill = 100;
        } else if (item.progressDay == dateKey_) {
            fill = std::min<int>(item.progressPercent, 100);
        }
        const bool fromPrevious = model_.PresentOn(dayBefore, item.row);
        const bool intoNext = model_.PresentOn(dayAfter, item.row);
        DrawBarSegment(y, fill, fromPrevious, intoNext);
        // The selected to-do's row is one highlight over its bar. Only rows that fit are
        // highlighted: the highlight of a row below the cell would paint over the cell underneath.
        const bool highlighted = cell_.selected && isCurrent_ && model_.SelectedToDo() == item.row;
        if (highlighted) {
            DrawRowHighlight(y);
        }

        // A label at the bar's start and end, again at the start of each week row, and in the
        // grid's first cell where the bar comes from before the shown range.
        const bool labelled = !fromPrevious || !intoNext || cell_.column == 0 || dayBefore < model_.FirstCellDateText();
        if (labelled) {
            DrawLabels(item, y, !intoNext, highlighted, cellColour);
        }
        ++position;
    }
    if (hidden > 0) {
        DrawHiddenCount(hidden, cellColour);
    }
}

// "+N" in the bottom right corner: a crowded day never looks empty or complete when it is not.
void DateCellPlanner::DrawHiddenCount(int hidden, std::uint32_t cellColour)
{
    std::string text = "+";
    AppendNumber(text, hidden);
    writer_.SetBold(false);
    writer_.SetFill(cellColour);
    writer_.SetFontColour(textColour_);
    const int width = measure_.TextWidth(text, kCalendarPointSize, false);
    const int height = measure_.TextHeight(kCalendarLineSample, kCalendarPointSize, false);
    writer_.Text(cell_.rect.right - 2 - width, cell_.rect.bottom - height - 1, text);
}

void DateCellPlanner::DrawBarSegment(int y, int fill, bool fromPrevious, bool intoNext)
{
    const int width = context_.defaultColumnWidth;
    const int x1 = fromPrevious ? left_ : left_ + kBarEndInset;
    const int x2 = intoNext ? left_ + width : left_ + width - kBarEndInset;
    const int yb = top_ + y + rows_.lineHeight / 2 + 1;
    writer_.HorizontalLine(x1, x2, yb, context_.barFrameColour);
    writer_.HorizontalLine(x1, x2, yb + 1, kBarInnerLineColour);
    writer_.HorizontalLine(x1, x2, yb + 2, context_.barFrameColour);
    if (fill != 0) {
        writer_.HorizontalLine(x1, x1 + (x2 - x1) * fill / 100, yb + 1, context_.barFillColour);
    }
    // The bar is closed on the day the to-do starts and on the day it ends.
    if (!fromPrevious) {
        writer_.Pixel(x1, yb + 1, context_.barFrameColour);
    }
    if (!intoNext) {
        writer_.Pixel(x2 - 1, yb + 1, context_.barFrameColour);
    }
}

void DateCellPlanner::DrawRowHighlight(int y)
{
    const auto saved = writer_.Fill();
    const PixelRect row{left_, top_ + y + 1, left_ + context_.defaultColumnWidth, top_ + y + rows_.lineHeight + 3};
    writer_.SetFill(kHighlightedBarRowFillColour);
    writer_.FillRect(row);
    writer_.FrameRect(row, kHighlightedBarRowFrameColour);
    writer_.SetFill(saved);
}

// Labels hide the bar behind them with the cell colour; on the highlight they show it through
// their letters. In a selected cell they keep the cell's white text colour.
void DateCellPlanner::DrawLabels(const DayItem& item, int y, bool endsToday, bool highlighted, std::uint32_t cellColour)
{
    writer_.SetOpaqueText(true);
    if (!model_.ShowBarTexts()) {
        return;
    }
    writer_.SetFill(cellColour);
    writer_.SetOpaqueText(!highlighted);
    const bool showDeadline = endsToday && item.hasDeadlineTime;
    if (!cell_.selected) {
        if (showDeadline) {
            writer_.SetFontColour(kDeadlineTimeColour);
        } else {
            writer_.SetFontColour(endsToday ? kEndingStartTimeColour : kContinuingStartTimeColour);
        }
    }
    const auto time = showDeadline ? item.DeadlineTime() : item.StartTime();
    writer_.Text(left_ + kTimeLabelLeft, top_ + y + 3, time);

    // The head follows the time at its usual place; a font whose digits are wider than the
    // classic one pushes it right (and narrows it) instead of covering the time's last digit.
    const int headLeft =
        std::max(kHeadLabelLeft, kTimeLabelLeft + measure_.TextWidth(time, writer_.PointSize(), writer_.Bold()));
    const int headSpare = kHeadLabelSpare + (headLeft - kHeadLabelLeft);
    const auto head = FittedHead(item.Head(), context_.defaultColumnWidth - headSpare, measure_);
    if (head.empty()) {
        return;
    }
    if (!cell_.selected) {
        writer_.SetFontColour(kBarLabelTextColour);
    }
    writer_.Text(left_ + headLeft, top_ + y + 3, head);
}

void DateCellPlanner::DrawHolidayName()
{
    if (holidayCount_ > 1) {
        // The status bar names them all; the cell has room for one.
        writer_.SetBold(true);
        if (!cell_.selected) {
            writer_.SetFontColour(kMoreHolidaysMarkColour);
        }
        writer_.Text(left_ + cell_.rect.Width() - 10, top_ + 2, kMoreHolidaysMark);
    }
    writer_.SetBold(false);
    const int x = std::max(0, centre_ - measure_.TextWidth(holiday_.name, kCalendarPointSize, false) / 2);
    const int y = cell_.rect.Height() - (measure_.TextHeight(kCalendarLineSample, kCalendarPointSize, false) + 6);
    if (!cell_.selected) {
        writer_.SetFontColour(HolidayNameColour(holiday_.kind));
    }
    writer_.Text(left_ + x, top_ + y, holiday_.name);
}

}  // namespace

DrawingPlan PlanHeaderCell(int column, std::string_view text, const PixelRect& rect, const TextMeasure& measure)
{
    PlanWriter writer;
    writer.SetFill(kHeaderBackgroundColour);
    writer.FillRect(rect);
    writer.SetOpaqueText(false);
    writer.SetBold(true);
    const int x = rect.Width() / 2 - measure.TextWidth(kWidestWeekday, writer.PointSize(), true) / 2;
    writer.SetFontColour(kHeaderShadowColour);
    writer.Text(rect.left + x + 1, rect.top + 4, text);
    std::uint32_t colour = kDayTextColour;
    if (column == 0) {
        colour = kSundayHeaderColour;
    } else if (column == 6) {
        colour = kSaturdayHeaderColour;
    }
    writer.SetFontColour(colour);
    writer.Text(rect.left + x, rect.top + 3, text);
    return writer.Take();
}

DrawingPlan PlanDateCell(const CalendarModel& model, const HolidayCalendar& holidays, const CalendarCell& cell,
                         const DateCellContext& context, const TextMeasure& measure)
{
    return DateCellPlanner(model, holidays, cell, context, measure).Plan();
}

DrawingPlan PlanDayListItem(std::string_view itemText, const PixelRect& rect, bool selected, bool isLast)
{
    PlanWriter writer;
    writer.SetFill(selected ? kDayListSelectedBackgroundColour : kDayListBackgroundColour);
    writer.SetFontColour(selected ? kDayListSelectedTextColour : kDayListTextColour);
    writer.FillRect(rect);
    writer.HorizontalLine(rect.left, rect.right, rect.top, kDayListSeparatorColour);
    if (isLast) {
        writer.HorizontalLine(rect.left, rect.right, rect.bottom - 1, kDayListSeparatorColour);
    }
    writer.Text(rect.left + 3, rect.top + 3, itemText.substr(0, itemText.find(kDayItemSeparator)));
    return writer.Take();
}

}  // namespace dolvane
