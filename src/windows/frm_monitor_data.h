// The Monitor Data window: every value the unit has reported (or a data
// file holds), grouped as a technician thinks of the unit, and a compare
// with a second data set from a file.
//
// The unit's identity and scan sets stand at the left; the readings and the
// adjustment tables are tabs at the right. Core builds the view (and
// rebuilds it a few times a second while the window is shown); this window
// draws it, and redraws only the texts that changed as long as the tables
// keep their rows and columns. Copy puts tab-separated text on the
// clipboard: "Copy" the current tab, "Copy All" the whole window, a table's
// context menu that table.
#pragma once

#include "windows/core_window.h"

#include <array>
#include <cstdint>
#include <string>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace orlix::windows {

class TableFlow;

class FrmMonitorDataWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmMonitorDataWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    void showContent(const DataView& view);
    void showGroup(TableFlow* flow, const ViewGroup& group, const DataView& view);
    void showScanSets(const DataView& view);
    void copyTable(const std::string& name);
    QPushButton* addButton(const char* name, const char* text, const char* tip,
                           void (FrmMonitorData::*handler)());

    QLabel* m_source;
    QLabel* m_summary;
    QPushButton* m_endCompare;
    QCheckBox* m_onlyDifferences;
    QComboBox* m_scanSet;
    QTabWidget* m_tabs;
    QWidget* m_unitArea;
    // The flows of the groups "Unit", "Readings and Status", "Adjustments".
    std::array<TableFlow*, 3> m_flows{};
    std::uint64_t m_shownCount = 0;
};

} // namespace orlix::windows
