// The main window's logic: its load and close steps, every menu command,
// and the data request walk that tmrSave drives once "Update All Data" has
// been chosen.
#pragma once

#include <cstdint>
#include <string>

namespace orlix {

class App;

class FrmMain {
public:
    static constexpr int kSaveIntervalMs = 1000;

    explicit FrmMain(App& app) : m_app(app) {}

    // The index of the next data item that tmrSave requests.
    std::int16_t DataItemIndex = 0;

    void Form_Load();
    void Form_Unload();

    void mnuFileNew_Click() {}
    void mnuFileOpen_Click();
    void mnuFileSave_Click();
    void mnuFileSaveAs_Click();
    void mnuFileClose_Click();
    void mnuFileExit_Click();
    void mnuMonitorUpdate_Click();
    void mnuMonitorOnline_Click();
    void mnuMonitorOffline_Click();
    void mnuMonitorDemo_Click();
    void mnuMonitorRun_Click();
    void mnuMonitorDownload_Click();
    void mnuMonitorCommLog_Click();
    void mnuMonitorData_Click();
    void mnuRGBbacklight_Click();
    void mnuTestBugeyeMode_Click();
    void mnuHelpTopics_Click();
    void mnuHelpAbout_Click();
    void mnuHelpVersion_Click();

    void tmrSave_Timer();
    // Sends the command of one data item while a unit is connected and
    // keeps the walk going.
    void RequestDataItem(std::int16_t index);

    // A complete reply from the unit, handed to the dispatcher. Once Update
    // All Data has started the walk, an answer to one of the walk's lines
    // that changes what a data file would hold sets DataChanged, so that
    // the data read is not dropped without the changed-data question.
    void dispatchReply(const std::string& reply);

private:
    bool answersTheWalk() const;

    App& m_app;
    bool m_walkStarted = false;
};

} // namespace orlix
