#include "windows/desktop_tools.h"

#include "windows/bundled.h"
#include "windows/help_window.h"
#include "windows/system_info_dialog.h"

#include <QFile>

namespace orlix::windows {

namespace {

void bringForward(QWidget* window) {
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace

DesktopTools::DesktopTools(QString settingsFile) : m_settingsFile(std::move(settingsFile)) {}

DesktopTools::~DesktopTools() = default;

bool DesktopTools::showManual() {
    if (!m_help) {
        // A program built without its manual has nothing to show.
        if (!QFile::exists(kManualHome)) {
            return false;
        }
        m_help = std::make_unique<HelpWindow>();
    }
    bringForward(m_help.get());
    return true;
}

bool DesktopTools::showSystemInfo() {
    if (!m_info) {
        m_info = std::make_unique<SystemInfoDialog>(m_settingsFile);
    } else {
        m_info->refresh();
    }
    bringForward(m_info.get());
    return true;
}

} // namespace orlix::windows
