#include "windows/data_table_widget.h"

#include "windows/core_window.h"

#include <QAction>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPainter>
#include <QRegularExpression>
#include <QResizeEvent>
#include <QVBoxLayout>

#include <algorithm>

namespace orlix::windows {

namespace {

constexpr int kUnitGap = 4;
// A text wider than this many average characters is cut short with "..."
// (its tooltip holds it whole), so that no text from the unit can push the
// tables out of the window.
constexpr int kMaxCellCharacters = 32;
constexpr int kColumnSpacing = 12;
// Rows a table's title and frame take, for balancing the columns.
constexpr int kTableOverheadRows = 3;
const QColor kDiffers(255, 214, 130);
const QColor kBand(226, 234, 246);

QLabel* headerLabel(const QString& text, Qt::Alignment align, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(align | Qt::AlignVCenter);
    QFont bold = label->font();
    bold.setBold(true);
    label->setFont(bold);
    return label;
}

bool hasCompared(const ViewTable& table) {
    return std::any_of(table.columns.begin(), table.columns.end(),
                       [](const ViewColumn& c) { return c.compared; });
}

} // namespace

bool splitNumberAndUnit(const QString& text, QString& number, QString& unit) {
    static const QRegularExpression kPattern(
        QStringLiteral("^\\s*([-+]?[0-9]+(?:\\.[0-9]+)?)\\s?(V|kV|uA|)\\s*$"));
    const QRegularExpressionMatch match = kPattern.match(text);
    if (!match.hasMatch()) {
        return false;
    }
    number = match.captured(1);
    unit = match.captured(2);
    return true;
}

// --- ValueLabel ------------------------------------------------------------------

ValueLabel::ValueLabel(QWidget* parent) : QLabel(parent) {
    setTextFormat(Qt::PlainText);
}

void ValueLabel::setLayoutOf(int unitWidth, bool numbers) {
    if (unitWidth != m_unitWidth || numbers != m_numbers) {
        m_unitWidth = unitWidth;
        m_numbers = numbers;
        updateGeometry();
        update();
    }
}

QSize ValueLabel::sizeHint() const {
    const QFontMetrics fm(font());
    QString number;
    QString unit;
    const bool numeric = splitNumberAndUnit(text(), number, unit);
    const int textWidth = numeric ? fm.horizontalAdvance(number) : fm.horizontalAdvance(text());
    const int width = std::clamp(textWidth, fm.horizontalAdvance(QStringLiteral("00000")),
                                 fm.averageCharWidth() * kMaxCellCharacters);
    return {width + m_unitWidth + 8, fm.height() + 2};
}

void ValueLabel::paintEvent(QPaintEvent* /*event*/) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::WindowText));
    const QRect area = contentsRect().adjusted(3, 0, -3, 0);
    QString number;
    QString unit;
    if (!m_numbers || !splitNumberAndUnit(text(), number, unit)) {
        QString shown = text();
        shown.replace('\r', ' ').replace('\n', ' ').replace('\t', ' ');
        if (fontMetrics().horizontalAdvance(shown) > area.width()) {
            shown = fontMetrics().elidedText(shown, Qt::ElideRight, area.width());
        }
        painter.drawText(area, Qt::AlignLeft | Qt::AlignVCenter, shown);
        return;
    }
    const QRect numberArea = area.adjusted(0, 0, -m_unitWidth, 0);
    painter.drawText(numberArea, Qt::AlignRight | Qt::AlignVCenter, number);
    if (!unit.isEmpty()) {
        const QRect unitArea(numberArea.right() + kUnitGap, area.top(),
                             std::max(m_unitWidth - kUnitGap, 1), area.height());
        painter.drawText(unitArea, Qt::AlignLeft | Qt::AlignVCenter, unit);
    }
}

// --- DataTableWidget ---------------------------------------------------------------

std::string DataTableWidget::shape(const ViewTable& table, const DataView& view) {
    std::string s =
        table.name + "|" + table.title + "|" + view.ownTitle + "|" + view.comparedTitle + "|";
    for (const ViewColumn& c : table.columns) {
        s += c.name + "=" + c.title + ";";
    }
    for (const ViewRow& r : table.rows) {
        s += "|" + r.name + "=" + r.label;
    }
    return s;
}

DataTableWidget::DataTableWidget(const ViewTable& table, const DataView& view,
                                 std::function<void(const std::string&)> copy, QWidget* parent)
    : QFrame(parent), m_shape(shape(table, view)) {
    setObjectName(qs(table.name));
    setFrameShape(QFrame::StyledPanel);
    auto* copyAction = new QAction(QStringLiteral("Copy Table"), this);
    copyAction->setObjectName(QStringLiteral("actCopyTable"));
    connect(copyAction, &QAction::triggered, this,
            [copy = std::move(copy), name = table.name] { copy(name); });
    addAction(copyAction);
    setContextMenuPolicy(Qt::ActionsContextMenu);

    m_grid = new QGridLayout(this);
    m_grid->setHorizontalSpacing(kColumnSpacing);
    m_grid->setVerticalSpacing(1);
    m_grid->setContentsMargins(8, 4, 8, 6);

    const int ownColumns =
        static_cast<int>(std::count_if(table.columns.begin(), table.columns.end(),
                                       [](const ViewColumn& c) { return !c.compared; }));
    const int columns = static_cast<int>(table.columns.size());
    const Qt::Alignment headerAlign = ownColumns > 1 ? Qt::AlignRight : Qt::AlignLeft;
    int row = 0;
    QLabel* title = headerLabel(qs(table.title), Qt::AlignLeft, this);
    title->setObjectName(QStringLiteral("lblTitle"));
    QFont titleFont = title->font();
    titleFont.setPointSizeF(titleFont.pointSizeF() * 1.1);
    title->setFont(titleFont);
    m_grid->addWidget(title, row++, 0, 1, columns + 1);
    if (hasCompared(table) && ownColumns > 1) {
        // A band over each side's columns, naming the side.
        auto* own = headerLabel(qs(view.ownTitle), Qt::AlignHCenter, this);
        auto* theirs = headerLabel(qs(view.comparedTitle), Qt::AlignHCenter, this);
        for (QLabel* band : {own, theirs}) {
            band->setAutoFillBackground(true);
            QPalette p = band->palette();
            p.setColor(QPalette::Window, kBand);
            band->setPalette(p);
        }
        m_grid->addWidget(own, row, 1, 1, ownColumns);
        m_grid->addWidget(theirs, row, 1 + ownColumns, 1, columns - ownColumns);
        ++row;
    }
    if (columns > 1) {
        for (int c = 0; c < columns; ++c) {
            const ViewColumn& column = table.columns[static_cast<std::size_t>(c)];
            QLabel* header = headerLabel(qs(column.title), headerAlign, this);
            header->setToolTip(qs(column.tip));
            m_grid->addWidget(header, row, c + 1);
        }
        ++row;
    }
    m_firstRow = row;
    for (const ViewRow& r : table.rows) {
        auto* label = new QLabel(qs(r.label), this);
        label->setTextFormat(Qt::PlainText);
        m_grid->addWidget(label, row, 0);
        std::vector<ValueLabel*> cells;
        for (int c = 0; c < columns; ++c) {
            auto* cell = new ValueLabel(this);
            m_grid->addWidget(cell, row, c + 1);
            cells.push_back(cell);
        }
        m_cells.push_back(std::move(cells));
        ++row;
    }
    m_grid->setColumnStretch(0, 1);
    showValues(table);
}

bool DataTableWidget::fits(const ViewTable& table, const DataView& view) const {
    return shape(table, view) == m_shape;
}

void DataTableWidget::showValues(const ViewTable& table) {
    // A column of numbers is aligned on the numbers and their units; one
    // that holds any other text is aligned on the left.
    const int unitWidth = fontMetrics().horizontalAdvance(QStringLiteral(" kV"));
    std::vector<bool> withUnit(table.columns.size(), false);
    std::vector<bool> numbers(table.columns.size(), true);
    QString number;
    QString unit;
    for (const ViewRow& r : table.rows) {
        for (std::size_t c = 0; c < r.cells.size() && c < withUnit.size(); ++c) {
            const QString text = qs(r.cells[c].text);
            if (text.isEmpty()) {
                continue;
            }
            if (!splitNumberAndUnit(text, number, unit)) {
                numbers[c] = false;
            } else if (!unit.isEmpty()) {
                withUnit[c] = true;
            }
        }
    }
    for (std::size_t r = 0; r < table.rows.size() && r < m_cells.size(); ++r) {
        const ViewRow& row = table.rows[r];
        for (std::size_t c = 0; c < row.cells.size() && c < m_cells[r].size(); ++c) {
            const ViewCell& cell = row.cells[c];
            ValueLabel* label = m_cells[r][c];
            if (label->objectName() != qs(cell.name)) {
                label->setObjectName(qs(cell.name));
            }
            const QString text = qs(cell.text);
            if (label->text() != text) {
                label->setText(text);
                label->setToolTip(text.size() > kMaxCellCharacters ? text : QString());
            }
            label->setLayoutOf(withUnit[c] ? unitWidth : 0, numbers[c]);
            if (label->autoFillBackground() != cell.differs) {
                label->setAutoFillBackground(cell.differs);
                QPalette p = label->palette();
                p.setColor(QPalette::Window, kDiffers);
                label->setPalette(p);
                QFont f = label->font();
                f.setBold(cell.differs);
                label->setFont(f);
            }
        }
    }
}

void DataTableWidget::paintEvent(QPaintEvent* event) {
    QFrame::paintEvent(event);
    if (m_cells.empty()) {
        return;
    }
    QPainter painter(this);
    const QColor stripe = palette().color(QPalette::AlternateBase);
    const int lastColumn = m_grid->columnCount() - 1;
    for (int r = 1; r < rowCount(); r += 2) {
        const int gridRow = m_firstRow + r;
        const QRect band =
            m_grid->cellRect(gridRow, 0).united(m_grid->cellRect(gridRow, lastColumn));
        painter.fillRect(band.adjusted(-4, 0, 4, 1), stripe);
    }
}

// --- TableFlow -------------------------------------------------------------------

TableFlow::TableFlow(QWidget* parent) : QWidget(parent) {
    m_columns = new QHBoxLayout(this);
    m_columns->setSpacing(kColumnSpacing);
    m_columns->setContentsMargins(6, 6, 6, 6);
    m_columns->setSizeConstraint(QLayout::SetNoConstraint);
}

QSize TableFlow::minimumSizeHint() const {
    int tableWidth = 0;
    for (const DataTableWidget* t : m_tables) {
        tableWidth = std::max(tableWidth, t->sizeHint().width());
    }
    return {tableWidth + 12, m_columns->minimumSize().height()};
}

void TableFlow::setTables(const std::vector<DataTableWidget*>& tables) {
    for (DataTableWidget* old : m_tables) {
        delete old;
    }
    m_tables = tables;
    for (DataTableWidget* table : m_tables) {
        table->setParent(this);
        table->show();
    }
    m_columnCount = 0;
    flow(width());
}

void TableFlow::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    flow(event->size().width());
}

void TableFlow::flow(int width) {
    int tableWidth = 1;
    int totalRows = 0;
    for (const DataTableWidget* t : m_tables) {
        tableWidth = std::max(tableWidth, t->sizeHint().width());
        totalRows += t->rowCount() + kTableOverheadRows;
    }
    const int fit = (width - 12 + kColumnSpacing) / (tableWidth + kColumnSpacing);
    const int count = std::clamp(fit, 1, std::max<int>(1, static_cast<int>(m_tables.size())));
    if (count == m_columnCount) {
        return;
    }
    m_columnCount = count;
    while (QLayoutItem* item = m_columns->takeAt(0)) {
        delete item; // the column layouts; the tables stay
    }
    const int target = (totalRows + count - 1) / count;
    QVBoxLayout* column = nullptr;
    int rows = 0;
    int columnsLeft = count;
    for (std::size_t i = 0; i < m_tables.size(); ++i) {
        const int tableRows = m_tables[i]->rowCount() + kTableOverheadRows;
        const std::size_t tablesLeft = m_tables.size() - i;
        if (!column || (rows >= target && columnsLeft > 0 &&
                        tablesLeft >= static_cast<std::size_t>(columnsLeft))) {
            if (column) {
                column->addStretch(1);
            }
            column = new QVBoxLayout;
            column->setSpacing(8);
            m_columns->addLayout(column, 1);
            rows = 0;
            --columnsLeft;
        }
        column->addWidget(m_tables[i]);
        rows += tableRows;
    }
    if (column) {
        column->addStretch(1);
    }
    for (int c = m_columns->count(); c < count; ++c) {
        m_columns->addStretch(1);
    }
    updateGeometry();
}

} // namespace orlix::windows
