// The pieces the Monitor Data window draws its tables with.
//
// DataTableWidget shows one table of core's data view: a title, a header
// line (with a band naming the two sides when it compares), a label per
// row and a ValueLabel per cell, named as core names them, so that a test
// or a technician's script finds a value by name. Rows are striped, and
// cells that differ from the compared data set are marked. Between two
// views with the same rows and columns only texts and marks change.
//
// TableFlow lays a group's tables out in as many columns as its width
// holds, each column about as long as the others.
#pragma once

#include "core/dataview/data_view.h"

#include <QFrame>
#include <QLabel>

#include <functional>
#include <string>
#include <vector>

class QGridLayout;
class QHBoxLayout;

namespace orlix::windows {

// A value whose number is aligned on its right end and whose unit ("V",
// "kV", "uA") is aligned on its left, so that a column of readings reads
// as a column; any other text is shown as it stands. text() is the whole
// text, as core gave it.
class ValueLabel : public QLabel {
public:
    explicit ValueLabel(QWidget* parent = nullptr);
    // Room kept at the right for a unit (0: none), and whether the column
    // holds numbers (aligned on the right) or texts (on the left).
    void setLayoutOf(int unitWidth, bool numbers);
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override { return sizeHint(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int m_unitWidth = 0;
    bool m_numbers = false;
};

class DataTableWidget : public QFrame {
public:
    // `copy` is called with the table's name when the user copies it.
    DataTableWidget(const ViewTable& table, const DataView& view,
                    std::function<void(const std::string&)> copy, QWidget* parent = nullptr);

    // Whether `table` has the rows and columns this widget was built for.
    bool fits(const ViewTable& table, const DataView& view) const;
    void showValues(const ViewTable& table);
    int rowCount() const { return static_cast<int>(m_cells.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static std::string shape(const ViewTable& table, const DataView& view);

    QGridLayout* m_grid;
    std::string m_shape;
    int m_firstRow = 1;
    std::vector<std::vector<ValueLabel*>> m_cells;
};

class TableFlow : public QWidget {
public:
    explicit TableFlow(QWidget* parent = nullptr);
    // Takes the tables (in order); they become this widget's children.
    void setTables(const std::vector<DataTableWidget*>& tables);
    const std::vector<DataTableWidget*>& tables() const { return m_tables; }
    // As narrow as one table, so that a scroll area can make it narrower
    // than its present columns; it then flows into fewer.
    QSize minimumSizeHint() const override;

protected:
    void resizeEvent(QResizeEvent* event) override;

private:
    void flow(int width);

    QHBoxLayout* m_columns;
    std::vector<DataTableWidget*> m_tables;
    int m_columnCount = 0;
};

// Splits "07.5 kV" into "07.5" and "kV", "+24.0V" into "+24.0" and "V";
// false for a text that is not a number with an optional unit.
bool splitNumberAndUnit(const QString& text, QString& number, QString& unit);

} // namespace orlix::windows
