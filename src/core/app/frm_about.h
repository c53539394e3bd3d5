// The About window and the help topics: the program's title, version and
// description, the system information tool, and the help viewer.
//
// Help and system information try the Windows programs first where they
// exist and otherwise open the tool's own manual and information windows,
// so that both work on every system, offline; only when neither route is
// there does a message say so.
#pragma once

#include <string_view>

namespace orlix {

class App;

class FrmAbout {
public:
    // The help file of the Windows help viewers, looked for in the current
    // folder as their command lines name it.
    static constexpr std::string_view kHelpFile = "orlix3.hlp";

    explicit FrmAbout(App& app) : m_app(app) {}

    void Form_Load();
    void cmdOK_Click();
    void cmdSysInfo_Click();
    // Help Topics of the Help menu.
    void showHelpTopics();

private:
    App& m_app;
};

} // namespace orlix
