#pragma once

#include <QAbstractTableModel>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace dolvane {

// Declared, not included: moc 6.4 reads `201703L > 201703L` as true, so any header it scans that
// reaches <compare> (through DateTime.h) stops the build.
struct ToDoRecord;

// The list's eleven columns over rows that the main window's model owns. This holds no copy: it
// reads the records on every request and decodes their cp932 texts for display only. Column k
// shows `Text(Field(k))`; the check box of column 0 is the row's `Completed` flag. The rows are
// never changed here: a click on a box is passed on as a request, because ticking one of several
// selected rows ticks them all and marks unsaved changes, which is the window model's business.
class ToDoListModel final : public QAbstractTableModel {
    Q_OBJECT

public:
    // `rows` must outlive the model. After the vector is reloaded or re-sorted call Reset(); after
    // texts of existing rows change call RowsChanged().
    explicit ToDoListModel(const std::vector<ToDoRecord>& rows, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    void Reset();
    // Rows first to last (inclusive) have new texts or a new check state. Every column repaints:
    // the row's colour and its remaining time follow the check state.
    void RowsChanged(int first, int last);
    // Column 8's caption follows whether the elapsed column shows rates.
    void SetElapsedRate(bool on);
    // Where a row's background comes from: a 0x00BBGGRR value, or nothing for the normal one.
    void SetRowColour(std::function<std::optional<std::uint32_t>(int row)> rowColour);

Q_SIGNALS:
    // The user ticked (`completed`) or cleared the check box of `row`; not sent when the box
    // already shows that state. The receiver changes the rows and then calls RowsChanged().
    void completedChangeRequested(int row, bool completed);

private:
    const ToDoRecord* RowAt(const QModelIndex& index) const;

    const std::vector<ToDoRecord>* rows_;
    bool elapsedRate_ = false;
    std::function<std::optional<std::uint32_t>(int row)> rowColour_;
};

}  // namespace dolvane
