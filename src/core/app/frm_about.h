// The About window and the help topics: the program's title, version and
// description, the system information tool, and the help viewer.
#pragma once

namespace orlix {

class App;

class FrmAbout {
public:
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
