// The system tools of the windowed program: those of the platform, plus
// the tool's own manual and System Information windows, made when first
// asked for.
#pragma once

#include "platform/qt_system_tools.h"

#include <QString>

#include <memory>

namespace orlix::windows {

class HelpWindow;
class SystemInfoDialog;

class DesktopTools : public platform::QtSystemTools {
public:
    explicit DesktopTools(QString settingsFile = {});
    ~DesktopTools() override;

    bool showManual() override;
    bool showSystemInfo() override;

    // The windows once shown; none before.
    HelpWindow* helpWindow() const { return m_help.get(); }
    SystemInfoDialog* systemInfoDialog() const { return m_info.get(); }

private:
    QString m_settingsFile;
    std::unique_ptr<HelpWindow> m_help;
    std::unique_ptr<SystemInfoDialog> m_info;
};

} // namespace orlix::windows
