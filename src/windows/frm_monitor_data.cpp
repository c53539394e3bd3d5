#include "windows/frm_monitor_data.h"

#include "core/dataview/data_view_text.h"
#include "windows/data_table_widget.h"

#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollArea>
#include <QSplitter>
#include <QStyle>
#include <QTabWidget>
#include <QVBoxLayout>

namespace orlix::windows {

namespace {

// A scroll area around a group's tables.
TableFlow* scrolledFlow(QWidget* parent, QWidget*& area) {
    auto* scroll = new QScrollArea(parent);
    scroll->setWidgetResizable(true);
    scroll->setFrameShape(QFrame::NoFrame);
    auto* flow = new TableFlow(scroll);
    scroll->setWidget(flow);
    area = scroll;
    return flow;
}

void putOnClipboard(const std::string& text) {
    QGuiApplication::clipboard()->setText(qs(text));
}

const ViewGroup* groupNamed(const DataView& view, std::string_view name) {
    for (const ViewGroup& g : view.groups) {
        if (g.name == name) {
            return &g;
        }
    }
    return nullptr;
}

constexpr std::array<std::string_view, 3> kGroupNames = {"grpUnit", "grpReadings",
                                                         "grpAdjustments"};

} // namespace

QPushButton* FrmMonitorDataWindow::addButton(const char* name, const char* text, const char* tip,
                                             void (FrmMonitorData::*handler)()) {
    auto* b = new QPushButton(text, this);
    b->setObjectName(name);
    b->setToolTip(tip);
    if (handler) {
        connect(b, &QPushButton::clicked, this,
                [this, handler] { act([this, handler] { (m_app.frmMonitorData.*handler)(); }); });
    }
    return b;
}

FrmMonitorDataWindow::FrmMonitorDataWindow(App& app, QWidget* parent)
    : CoreWindow(app, WindowId::frmMonitorData, parent) {
    m_source = new QLabel(this);
    m_source->setObjectName("lblSource");
    m_source->setTextFormat(Qt::PlainText);
    QFont big = m_source->font();
    big.setBold(true);
    big.setPointSizeF(big.pointSizeF() * 1.15);
    m_source->setFont(big);

    auto* compare = addButton("btnCompare", "Compare with File ...",
                              "Load a data file and show it beside this data",
                              &FrmMonitorData::btnCompare_Click);
    m_endCompare = addButton("btnEndCompare", "End Compare", "Show this data alone",
                             &FrmMonitorData::btnEndCompare_Click);
    m_onlyDifferences = new QCheckBox("Only Differences", this);
    m_onlyDifferences->setObjectName("ckOnlyDifferences");
    connect(m_onlyDifferences, &QCheckBox::clicked, this, [this](bool on) {
        act([this, on] { m_app.frmMonitorData.ckOnlyDifferences_Click(on); });
    });
    m_summary = new QLabel(this);
    m_summary->setObjectName("lblCompare");
    m_summary->setTextFormat(Qt::PlainText);
    QFont bold = m_summary->font();
    bold.setBold(true);
    m_summary->setFont(bold);

    auto* copy = addButton("btnCopy", "Copy", "Copy the tables of the open tab as text", nullptr);
    auto* copyAll = addButton("btnCopyAll", "Copy All", "Copy the whole window as text", nullptr);
    auto* saveText =
        addButton("btnSaveAsText", "Save As Text ...", "Write the whole window to a text file",
                  &FrmMonitorData::btnSaveAsText_Click);
    connect(copy, &QPushButton::clicked, this, [this] {
        const QWidget* page = m_tabs->currentWidget();
        const DataView& view = m_app.monitorDataView.content;
        if (const ViewGroup* g = groupNamed(view, page->objectName().toStdString())) {
            putOnClipboard(groupText(*g, view));
        }
    });
    connect(copyAll, &QPushButton::clicked, this,
            [this] { putOnClipboard(m_app.frmMonitorData.copyText(-1)); });

    auto* tools = new QHBoxLayout;
    tools->addWidget(compare);
    tools->addWidget(m_endCompare);
    tools->addWidget(m_onlyDifferences);
    tools->addSpacing(12);
    tools->addWidget(m_summary);
    tools->addStretch(1);
    tools->addWidget(copy);
    tools->addWidget(copyAll);
    tools->addWidget(saveText);

    auto* splitter = new QSplitter(Qt::Horizontal, this);
    splitter->setObjectName("splitter");
    m_flows[0] = scrolledFlow(splitter, m_unitArea);
    m_unitArea->setObjectName(qs(kGroupNames[0]));
    splitter->addWidget(m_unitArea);

    m_tabs = new QTabWidget(splitter);
    m_tabs->setObjectName("tabGroups");
    QWidget* readingsArea = nullptr;
    m_flows[1] = scrolledFlow(m_tabs, readingsArea);
    readingsArea->setObjectName(qs(kGroupNames[1]));
    m_tabs->addTab(readingsArea, "Readings and Status");

    auto* adjustments = new QWidget(m_tabs);
    adjustments->setObjectName(qs(kGroupNames[2]));
    m_scanSet = new QComboBox(adjustments);
    m_scanSet->setObjectName("cboScanSet");
    m_scanSet->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_scanSet->setMinimumContentsLength(32);
    connect(m_scanSet, &QComboBox::activated, this, [this](int index) {
        const int scanSet = m_scanSet->itemData(index).toInt();
        act([this, scanSet] { m_app.frmMonitorData.cboScanSet_Click(scanSet); });
    });
    auto* scanRow = new QHBoxLayout;
    auto* scanLabel = new QLabel("Scan set:", adjustments);
    scanLabel->setObjectName("lblScanSet");
    scanRow->addWidget(scanLabel);
    scanRow->addWidget(m_scanSet);
    scanRow->addSpacing(16);
    auto* columnsHint = new QLabel("Value, F, P are the data file's columns; Current is the "
                                   "value the unit uses now.",
                                   adjustments);
    columnsHint->setWordWrap(true);
    columnsHint->setObjectName("lblColumns");
    columnsHint->setEnabled(false); // drawn in the muted colour of a hint
    scanRow->addWidget(columnsHint, 1);
    QWidget* adjustmentsArea = nullptr;
    m_flows[2] = scrolledFlow(adjustments, adjustmentsArea);
    auto* adjustmentsLayout = new QVBoxLayout(adjustments);
    adjustmentsLayout->setContentsMargins(6, 6, 0, 0);
    adjustmentsLayout->addLayout(scanRow);
    adjustmentsLayout->addWidget(adjustmentsArea, 1);
    m_tabs->addTab(adjustments, "Adjustments");
    m_tabs->setCurrentWidget(adjustments);
    splitter->addWidget(m_tabs);
    splitter->setStretchFactor(0, 0);
    splitter->setStretchFactor(1, 1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_source);
    layout->addLayout(tools);
    layout->addWidget(splitter, 1);
}

void FrmMonitorDataWindow::sync() {
    const MonitorDataView& v = m_app.monitorDataView;
    m_endCompare->setEnabled(v.comparing);
    m_onlyDifferences->setEnabled(v.comparing);
    m_onlyDifferences->setChecked(v.onlyDifferences);
    if (v.contentCount == m_shownCount) {
        return;
    }
    m_shownCount = v.contentCount;
    showContent(v.content);
}

void FrmMonitorDataWindow::showContent(const DataView& view) {
    m_source->setText(qs(view.source));
    m_summary->setText(qs(view.summary));
    showScanSets(view);
    for (std::size_t i = 0; i < kGroupNames.size(); ++i) {
        static const ViewGroup kEmpty;
        const ViewGroup* group = groupNamed(view, kGroupNames[i]);
        showGroup(m_flows[i], group ? *group : kEmpty, view);
    }
    // The identity stays whole: the splitter may not squeeze it.
    m_unitArea->setMinimumWidth(m_flows[0]->minimumSizeHint().width() +
                                style()->pixelMetric(QStyle::PM_ScrollBarExtent));
}

void FrmMonitorDataWindow::showGroup(TableFlow* flow, const ViewGroup& group,
                                     const DataView& view) {
    const auto& shown = flow->tables();
    bool same = shown.size() == group.tables.size();
    for (std::size_t t = 0; same && t < shown.size(); ++t) {
        same = shown[t]->fits(group.tables[t], view);
    }
    if (same) {
        for (std::size_t t = 0; t < shown.size(); ++t) {
            shown[t]->showValues(group.tables[t]);
        }
        return;
    }
    std::vector<DataTableWidget*> tables;
    for (const ViewTable& table : group.tables) {
        tables.push_back(
            new DataTableWidget(table, view, [this](const std::string& name) { copyTable(name); }));
    }
    flow->setTables(tables);
}

void FrmMonitorDataWindow::showScanSets(const DataView& view) {
    bool same = m_scanSet->count() == static_cast<int>(view.scanSets.size());
    for (int i = 0; same && i < m_scanSet->count(); ++i) {
        const ScanSetChoice& choice = view.scanSets[static_cast<std::size_t>(i)];
        same = m_scanSet->itemText(i) == qs(choice.text) &&
               m_scanSet->itemData(i).toInt() == choice.scanSet;
    }
    const QSignalBlocker quiet(m_scanSet);
    if (!same) {
        m_scanSet->clear();
        for (const ScanSetChoice& choice : view.scanSets) {
            m_scanSet->addItem(qs(choice.text), choice.scanSet);
        }
    }
    m_scanSet->setCurrentIndex(m_scanSet->findData(view.scanSet));
}

void FrmMonitorDataWindow::copyTable(const std::string& name) {
    const DataView& view = m_app.monitorDataView.content;
    if (const ViewTable* table = findTable(view, name)) {
        putOnClipboard(tableText(*table, view));
    }
}

} // namespace orlix::windows
