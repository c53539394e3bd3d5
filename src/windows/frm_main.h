// The main window: a multiple-document frame whose title shows the link
// state and the open data file, and whose menus reach every function.
#pragma once

#include "core/app/app.h"

#include <QMainWindow>

#include <array>

class QAction;
class QMdiArea;
class QMenu;

namespace orlix::windows {

class FrmMainWindow : public QMainWindow {
    Q_OBJECT
public:
    explicit FrmMainWindow(App& app, QWidget* parent = nullptr);

    QMdiArea* mdiArea() const { return m_mdi; }
    QAction* action(MenuItem item) const { return m_actions[static_cast<std::size_t>(item)]; }
    void sync();
    // Set once core has closed the tool: the window may really close.
    void allowClose() { m_closeAllowed = true; }

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    QMenu* addMenu(MenuItem item, const char* caption);
    void addItem(QMenu* menu, MenuItem item, const char* caption, void (FrmMain::*handler)());

    App& m_app;
    QMdiArea* m_mdi;
    std::array<QAction*, kMenuItemCount> m_actions{};
    bool m_closeAllowed = false;
};

} // namespace orlix::windows
