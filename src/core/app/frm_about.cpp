#include "core/app/frm_about.h"

#include "core/app/app.h"
#include "orlix6/version.h"

namespace orlix {

namespace {

constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";
constexpr std::string_view kHelpUnavailable =
    "The help viewer could not be started on this system.";

} // namespace

void FrmAbout::Form_Load() {
    AboutView& v = m_app.aboutView;
    v.caption = "About " + std::string(kAppTitle);
    v.lblVersion = "Version " + std::to_string(kVersionMajor) + "." +
                   std::to_string(kVersionMinor) + "." + std::to_string(kVersionRevision);
    v.lblTitle = std::string(kAppTitle);
    v.lblDescription = std::string("Orlix allows the initialization, ") +
                       "calibration, usage reporting, and user adjustment " +
                       "of Norvique monitors." + "\r\n" + "\r\n" +
                       "Connect the monitor to any serial port at 9600,N,8,1.";
    m_app.touch(WindowId::frmAbout);
}

void FrmAbout::cmdOK_Click() {
    m_app.unload(WindowId::frmAbout);
}

void FrmAbout::cmdSysInfo_Click() {
    App& app = m_app;
    SystemTools* system = app.ports.system;
    if (system) {
        if (const auto path =
                system->registryValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")) {
            if (system->startProgram(*path)) {
                return;
            }
        } else if (const auto folder = system->registryValue(
                       "SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")) {
            const std::string program = *folder + "\\MSINFO32.EXE";
            if (system->fileExists(program) && system->startProgram(program)) {
                return;
            }
        }
    }
    app.ports.dialogs.message(kSysInfoUnavailable);
}

void FrmAbout::showHelpTopics() {
    SystemTools* system = m_app.ports.system;
    if (system && (system->startProgram("C:\\windows\\winhelp.exe orlix3.hlp") ||
                   system->startProgram("C:\\winnt\\winhlp32.exe orlix3.hlp"))) {
        return;
    }
    // Neither viewer exists here: say so rather than do nothing.
    m_app.ports.dialogs.message(kHelpUnavailable);
}

} // namespace orlix
