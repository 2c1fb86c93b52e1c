#include "ui/list/ToDoListModel.h"

#include "core/store/ToDoRecord.h"
#include "core/text/Cp932Codec.h"
#include "core/view/ReadableColours.h"
#include "ui/widgets/Colours.h"

namespace dolvane {
namespace {

constexpr int kProgressColumn = static_cast<int>(Field::Progress);
constexpr int kElapsedColumn = static_cast<int>(Field::Elapsed);

Qt::Alignment ColumnAlignment(int column)
{
    return (column == kProgressColumn ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter;
}

// A row is one line high, so the task text's CR LF breaks (and any stray CR or LF of a hand-edited
// file) are shown as single spaces instead of being cut off after the first line.
QString OneLine(const std::string& cp932)
{
    QString text = QString::fromStdU16String(DecodeCp932ForDisplay(cp932));
    text.replace(QStringLiteral("\r\n"), QStringLiteral(" "));
    text.replace(u'\r', u' ');
    text.replace(u'\n', u' ');
    return text;
}

}  // namespace

ToDoListModel::ToDoListModel(const std::vector<ToDoRecord>& rows, QObject* parent)
    : QAbstractTableModel(parent),
      rows_(&rows)
{
}

int ToDoListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_->size());
}

int ToDoListModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : kVisibleColumnCount;
}

const ToDoRecord* ToDoListModel::RowAt(const QModelIndex& index) const
{
    if (!checkIndex(index, CheckIndexOption::IndexIsValid | CheckIndexOption::ParentIsInvalid)) {
        return nullptr;
    }
    return &(*rows_)[static_cast<std::size_t>(index.row())];
}

QVariant ToDoListModel::data(const QModelIndex& index, int role) const
{
    const ToDoRecord* row = RowAt(index);
    if (row == nullptr) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return OneLine(row->Text(static_cast<Field>(index.column())));
    case Qt::CheckStateRole:
        // Only the first column carries the box; a value in other columns would draw one there too.
        if (index.column() == 0) {
            return row->Completed ? Qt::Checked : Qt::Unchecked;
        }
        return {};
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(index.column()));
    case Qt::BackgroundRole:
    case Qt::ForegroundRole:
        // A state's light fill brings its own text colour (a dark palette's text is light); the
        // selection highlight stays the list's own.
        if (rowColour_) {
            if (const auto colour = rowColour_(index.row())) {
                return ColourOf(role == Qt::BackgroundRole ? *colour : ReadableTextOn(*colour));
            }
        }
        return {};
    default:
        return {};
    }
}

void ToDoListModel::SetRowColour(std::function<std::optional<std::uint32_t>(int row)> rowColour)
{
    rowColour_ = std::move(rowColour);
}

bool ToDoListModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const ToDoRecord* row = RowAt(index);
    if (role != Qt::CheckStateRole || index.column() != 0 || row == nullptr) {
        return false;
    }
    const bool completed = value.toInt() == Qt::Checked;
    if (row->Completed != completed) {
        Q_EMIT completedChangeRequested(index.row(), completed);
    }
    return true;
}

Qt::ItemFlags ToDoListModel::flags(const QModelIndex& index) const
{
    if (RowAt(index) == nullptr) {
        return Qt::NoItemFlags;
    }
    Qt::ItemFlags result = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (index.column() == 0) {
        result |= Qt::ItemIsUserCheckable;
    }
    return result;
}

QVariant ToDoListModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= kVisibleColumnCount) {
        return {};
    }
    switch (role) {
    case Qt::DisplayRole:
        return QString::fromStdU16String(DecodeCp932ForDisplay(ColumnCaption(section, elapsedRate_)));
    case Qt::TextAlignmentRole:
        return QVariant::fromValue(ColumnAlignment(section));
    default:
        return {};
    }
}

void ToDoListModel::Reset()
{
    beginResetModel();
    endResetModel();
}

void ToDoListModel::RowsChanged(int first, int last)
{
    if (first > last || first < 0 || last >= rowCount()) {
        return;
    }
    Q_EMIT dataChanged(index(first, 0), index(last, kVisibleColumnCount - 1));
}

void ToDoListModel::SetElapsedRate(bool on)
{
    if (on == elapsedRate_) {
        return;
    }
    elapsedRate_ = on;
    Q_EMIT headerDataChanged(Qt::Horizontal, kElapsedColumn, kElapsedColumn);
}

}  // namespace dolvane
