#include "windows/frm_main.h"

#include "windows/core_window.h"

#include <QAction>
#include <QCloseEvent>
#include <QMdiArea>
#include <QMenuBar>

namespace orlix::windows {

FrmMainWindow::FrmMainWindow(App& app, QWidget* parent) : QMainWindow(parent), m_app(app) {
    setObjectName("frmMain");
    m_mdi = new QMdiArea(this);
    m_mdi->setObjectName("mdiArea");
    setCentralWidget(m_mdi);

    QMenu* file = addMenu(MenuItem::mnuFile, "&File");
    addItem(file, MenuItem::mnuFileNew, "&New", &FrmMain::mnuFileNew_Click);
    addItem(file, MenuItem::mnuFileOpen, "&Open ...", &FrmMain::mnuFileOpen_Click);
    addItem(file, MenuItem::mnuFileSave, "&Save", &FrmMain::mnuFileSave_Click);
    addItem(file, MenuItem::mnuFileSaveAs, "S&ave As ...", &FrmMain::mnuFileSaveAs_Click);
    addItem(file, MenuItem::mnuFileClose, "&Close", &FrmMain::mnuFileClose_Click);
    addItem(file, MenuItem::mnuFileExit, "E&xit", &FrmMain::mnuFileExit_Click);

    QMenu* monitor = addMenu(MenuItem::mnuMonitor, "&Monitor");
    addItem(monitor, MenuItem::mnuMonitorUpdate, "&Update All Data",
            &FrmMain::mnuMonitorUpdate_Click);
    addItem(monitor, MenuItem::mnuMonitorOnline, "Go O&nline", &FrmMain::mnuMonitorOnline_Click);
    addItem(monitor, MenuItem::mnuMonitorOffline, "Go O&ffline", &FrmMain::mnuMonitorOffline_Click);
    addItem(monitor, MenuItem::mnuMonitorDemo, "Go Offline &Demo Mode",
            &FrmMain::mnuMonitorDemo_Click);
    addItem(monitor, MenuItem::mnuMonitorRun, "&Run from BOOT MODE", &FrmMain::mnuMonitorRun_Click);
    addItem(monitor, MenuItem::mnuMonitorDownload, "Do&wnload Firmware ...",
            &FrmMain::mnuMonitorDownload_Click);
    action(MenuItem::mnuMonitorDownload)
        ->setToolTip("Needs the unit in its boot loader (BOOT MODE): erases the flash and "
                     "writes a firmware image (.hex)");
    monitor->setToolTipsVisible(true);
    monitor->addSeparator();
    addItem(monitor, MenuItem::mnuMonitorCommLog, "Communication &Log",
            &FrmMain::mnuMonitorCommLog_Click);
    addItem(monitor, MenuItem::mnuMonitorData, "&Monitor Data", &FrmMain::mnuMonitorData_Click);

    QMenu* adjustments = addMenu(MenuItem::mnuStroke, "&Adjustments");
    addItem(adjustments, MenuItem::mnuRGBbacklight, "&RGB Backlight",
            &FrmMain::mnuRGBbacklight_Click);
    addItem(adjustments, MenuItem::mnuTestBugeyeMode, "&Test Bugeye Mode",
            &FrmMain::mnuTestBugeyeMode_Click);

    QMenu* help = addMenu(MenuItem::mnuHelp, "&Help");
    addItem(help, MenuItem::mnuHelpTopics, "&Norvique Help Topics ...",
            &FrmMain::mnuHelpTopics_Click);
    addItem(help, MenuItem::mnuHelpVersion, "&Version ...", &FrmMain::mnuHelpVersion_Click);
    addItem(help, MenuItem::mnuHelpAbout, "&About Orlix", &FrmMain::mnuHelpAbout_Click);
    action(MenuItem::mnuHelpTopics)->setShortcut(QKeySequence::HelpContents);
}

QMenu* FrmMainWindow::addMenu(MenuItem item, const char* caption) {
    QMenu* menu = menuBar()->addMenu(QString::fromUtf8(caption));
    menu->setObjectName(qs(menuItemName(item)));
    menu->menuAction()->setObjectName(qs(menuItemName(item)));
    m_actions[static_cast<std::size_t>(item)] = menu->menuAction();
    return menu;
}

void FrmMainWindow::addItem(QMenu* menu, MenuItem item, const char* caption,
                            void (FrmMain::*handler)()) {
    QAction* action = menu->addAction(QString::fromUtf8(caption));
    action->setObjectName(qs(menuItemName(item)));
    m_actions[static_cast<std::size_t>(item)] = action;
    if (handler) {
        connect(action, &QAction::triggered, this,
                [this, handler] { m_app.act([this, handler] { (m_app.frmMain.*handler)(); }); });
    }
}

void FrmMainWindow::sync() {
    const MainView& v = m_app.mainView;
    setWindowTitle(qs(v.caption));
    for (std::size_t i = 0; i < kMenuItemCount; ++i) {
        if (m_actions[i]) {
            m_actions[i]->setEnabled(v.menuEnabled[i]);
        }
    }
}

void FrmMainWindow::closeEvent(QCloseEvent* event) {
    if (m_closeAllowed) {
        event->accept();
        return;
    }
    // Core runs the close step; the window closes when core says so.
    event->ignore();
    m_app.windowClosed(WindowId::frmMain);
}

} // namespace orlix::windows
