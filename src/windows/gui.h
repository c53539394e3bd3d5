// Puts core's windows on the screen: creates every window, shows, hides,
// raises and places them as core's views say, forwards the user's window
// activations, moves and closes to core, and ends the program when core
// has closed the tool.
#pragma once

#include "core/app/app.h"

#include <QObject>
#include <QRect>

#include <array>
#include <memory>

class QMdiSubWindow;
class QWidget;

namespace orlix::windows {

class CoreWindow;
class FrmMainWindow;

class Gui : public QObject, public ViewListener {
    Q_OBJECT
public:
    explicit Gui(App& app);
    ~Gui() override;

    // Tells core the screen size, then runs the process entry.
    void start();

    void viewChanged(WindowId id) override;

    FrmMainWindow* mainWindow() const { return m_main.get(); }
    CoreWindow* window(WindowId id) const { return m_windows[index(id)]; }
    QMdiSubWindow* frame(WindowId id) const { return m_frames[index(id)]; }

    double pixelsPerTwip() const;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    static std::size_t index(WindowId id) { return static_cast<std::size_t>(id); }
    void add(CoreWindow* window);
    void syncFrame(WindowId id);
    void syncMain();
    void applyPlacement(WindowId id);
    void reportPlacement(WindowId id);
    QRect pulledIntoView(QRect rect, const QRect& area) const;

    App& m_app;
    std::unique_ptr<FrmMainWindow> m_main;
    std::array<CoreWindow*, kWindowCount> m_windows{};
    std::array<QMdiSubWindow*, kWindowCount> m_frames{};
    std::array<std::uint32_t, kWindowCount> m_raised{};
    std::array<std::uint32_t, kWindowCount> m_placed{};
    std::array<QRect, kWindowCount> m_normal{};
    bool m_applying = false;
    bool m_mainShown = false;
};

} // namespace orlix::windows
