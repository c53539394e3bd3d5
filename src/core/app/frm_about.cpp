#include "core/app/frm_about.h"

#include "core/app/app.h"
#include "orlix6/version.h"

namespace orlix {

namespace {

constexpr std::string_view kSysInfoUnavailable = "System Information Is Unavailable At This Time";
constexpr std::string_view kHelpUnavailable =
    "The help viewer could not be started on this system.";

// A registry path may come quoted; the quotes are not part of the name.
std::string unquoted(std::string text) {
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') {
        return text.substr(1, text.size() - 2);
    }
    return text;
}

// The system's own information tool, as its registry entries name it.
bool startSystemInfoTool(SystemTools& system) {
    if (const auto path =
            system.registryValue("SOFTWARE\\Microsoft\\Shared Tools\\MSINFO", "PATH")) {
        // One program path, blanks included ("C:\Program Files\..."): never
        // split into a program and arguments.
        return system.startProgram(unquoted(*path), {});
    }
    if (const auto folder =
            system.registryValue("SOFTWARE\\Microsoft\\Shared Tools Location", "MSINFO")) {
        const std::string program = unquoted(*folder) + "\\MSINFO32.EXE";
        return system.fileExists(program) && system.startProgram(program, {});
    }
    return false;
}

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
    SystemTools* system = m_app.ports.system;
    if (system && (startSystemInfoTool(*system) || system->showSystemInfo())) {
        return;
    }
    m_app.ports.dialogs.message(kSysInfoUnavailable);
}

void FrmAbout::showHelpTopics() {
    SystemTools* system = m_app.ports.system;
    if (!system) {
        m_app.ports.dialogs.message(kHelpUnavailable);
        return;
    }
    // The Windows viewers only where their help file is there to show: a
    // viewer started on a missing file would stand in for the manual.
    const std::string file(kHelpFile);
    if (system->fileExists(file) && (system->startProgram("C:\\windows\\winhelp.exe", {file}) ||
                                     system->startProgram("C:\\winnt\\winhlp32.exe", {file}))) {
        return;
    }
    if (!system->showManual()) {
        m_app.ports.dialogs.message(kHelpUnavailable);
    }
}

} // namespace orlix
