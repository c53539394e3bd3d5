// The Monitor Data window's logic: it shows everything the unit has
// reported (or a data file holds), and compares it with a second data set
// loaded from a file.
//
// It only reads: showing, choosing a scan set, comparing, copying and
// saving the text never send a line to the unit and never change the
// monitor data, the display model or the open file. The compared data set
// is read into a data set of its own.
//
// While the window is shown, a timer rebuilds the view a few times a
// second and tells the window only when something in it changed, so
// replies at any rate cost a few rebuilds a second; while it is hidden the
// timer is stopped and nothing is built. Replies are only noted (the time
// of the last one, and the texts of the few replies whose control names
// others share, see LastReplyTexts).
#pragma once

#include "core/app/placement.h"
#include "core/app/timer_control.h"
#include "core/app/views.h"
#include "core/data/monitor_data.h"
#include "core/dataview/data_view.h"
#include "core/dataview/last_reply_texts.h"
#include "core/link/link_flags.h"
#include "core/ports/clock.h"
#include "core/ports/dialogs.h"
#include "core/protocol/display_model.h"

#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace orlix {

struct MonitorDataView : WindowView {
    DataView content;
    // Bumped whenever `content` changes, so the window redraws only then.
    std::uint64_t contentCount = 0;
    bool comparing = false;
    bool onlyDifferences = false;
};

class FrmMonitorData {
public:
    static constexpr int kRefreshMs = 250;

    struct Deps {
        MonitorDataView& view;
        const MonitorData& data;
        const DisplayModel& display;
        const LinkFlags& link;
        const Clock& clock;
        Dialogs& dialogs;
        TimerControl& timers;
        WindowPlacement& placement;
        // The view changed; the window is told when the current event ends.
        std::function<void()> changed;
        // Moves the window to a placement.
        std::function<void(const Placement&)> place;
    };

    explicit FrmMonitorData(Deps deps) : m(std::move(deps)) {}

    // Load: restores the window's placement and starts refreshing.
    void Form_Load();
    // Shown again after it was hidden: refreshes at once and keeps on.
    void Form_Activate();
    // Unload: saves the placement and stops refreshing.
    void Form_Unload();
    void tmrRefresh_Timer();

    // A complete reply of the unit, after the tool has taken it in.
    void replyArrived(std::string_view reply);

    void cboScanSet_Click(int scanSet);
    // Loads a data file to compare with; a file that cannot be read is
    // reported and the compare stays as it was.
    void btnCompare_Click();
    void btnEndCompare_Click();
    void ckOnlyDifferences_Click(bool checked);
    // Writes the current view as text to a file the user chooses.
    void btnSaveAsText_Click();

    // The tab-separated text of one group of the current view, or of the
    // whole view for a group index outside it (-1).
    std::string copyText(int group) const;

    // Rebuilds the view now; tells the window when it changed.
    void refresh();
    // The header line: where the data comes from.
    std::string sourceLine() const;

private:
    std::string ownTitle() const;
    std::string openFileTitle() const;

    Deps m;
    LastReplyTexts m_lastReplies;
    std::optional<DateTime> m_lastReply;
    std::optional<MonitorData> m_compared;
    std::string m_comparedTitle;
    int m_scanSet = 0;
};

} // namespace orlix
