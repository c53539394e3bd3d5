#include "windows/gui.h"

#include "windows/adjustment_windows.h"
#include "windows/frm_comm_log.h"
#include "windows/frm_connect.h"
#include "windows/frm_download.h"
#include "windows/frm_main.h"
#include "windows/frm_monitor_data.h"
#include "windows/small_windows.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTimer>

#include <cmath>

namespace orlix::windows {

Gui::Gui(App& app) : m_app(app), m_main(std::make_unique<FrmMainWindow>(app)) {
    add(new FrmConnectWindow(app));
    add(new FrmTryingWindow(app));
    add(new FrmChangeTriesWindow(app));
    add(new FrmTimedOutWindow(app));
    add(new FrmCommLogWindow(app));
    add(new FrmVersionWindow(app));
    add(new FrmRGBlightWindow(app));
    add(new FrmBugeyeWindow(app));
    add(new FrmAboutWindow(app));
    add(new FrmDownloadWindow(app));
    add(new FrmMonitorDataWindow(app));
    m_main->installEventFilter(this);
    connect(m_main->mdiArea(), &QMdiArea::subWindowActivated, this, [this](QMdiSubWindow* frame) {
        if (m_applying || !frame) {
            return;
        }
        for (std::size_t i = 0; i < kWindowCount; ++i) {
            if (m_frames[i] == frame) {
                m_app.windowActivated(static_cast<WindowId>(i));
            }
        }
    });
    app.setViewListener(this);
}

Gui::~Gui() {
    m_app.setViewListener(nullptr);
}

void Gui::add(CoreWindow* window) {
    const std::size_t i = index(window->windowId());
    m_windows[i] = window;
    QMdiSubWindow* frame = m_main->mdiArea()->addSubWindow(window);
    frame->setObjectName(window->objectName() + "Frame");
    frame->setAttribute(Qt::WA_DeleteOnClose, false);
    frame->installEventFilter(this);
    frame->hide();
    m_frames[i] = frame;
}

double Gui::pixelsPerTwip() const {
    const QScreen* screen = m_main->screen() ? m_main->screen() : QGuiApplication::primaryScreen();
    const double dpi = screen ? screen->logicalDotsPerInch() : 96.0;
    return dpi / 1440.0;
}

void Gui::start() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (screen) {
        const QRect area = screen->availableGeometry();
        QRect desktop;
        for (const QScreen* each : QGuiApplication::screens()) {
            desktop = desktop.united(each->availableGeometry());
        }
        const double perTwip = pixelsPerTwip();
        m_app.placement.setScreen({area.width() / perTwip, area.height() / perTwip,
                                   desktop.x() / perTwip, desktop.y() / perTwip,
                                   desktop.width() / perTwip, desktop.height() / perTwip});
    }
    m_app.Main();
}

void Gui::viewChanged(WindowId id) {
    m_applying = true;
    if (id == WindowId::frmMain) {
        syncMain();
    } else if (m_windows[index(id)]) {
        m_windows[index(id)]->sync();
        syncFrame(id);
    }
    // Keep the window that core made active in front.
    const WindowId active = m_app.activeWindow();
    QMdiSubWindow* frame = m_frames[index(active)];
    if (frame && frame->isVisible() && m_main->mdiArea()->activeSubWindow() != frame) {
        m_main->mdiArea()->setActiveSubWindow(frame);
    }
    m_applying = false;
}

void Gui::syncMain() {
    const MainView& v = m_app.mainView;
    m_main->sync();
    if (v.placementCount != m_placed[index(WindowId::frmMain)]) {
        m_placed[index(WindowId::frmMain)] = v.placementCount;
        applyPlacement(WindowId::frmMain);
    }
    if (v.visible && !m_mainShown) {
        m_mainShown = true;
        switch (v.placement.state) {
        case WindowState::Maximized:
            m_main->showMaximized();
            break;
        case WindowState::Minimized:
            m_main->showMinimized();
            break;
        case WindowState::Normal:
            m_main->show();
            break;
        }
    }
    if (v.busy) {
        if (!QApplication::overrideCursor()) {
            QApplication::setOverrideCursor(Qt::WaitCursor);
        }
    } else {
        while (QApplication::overrideCursor()) {
            QApplication::restoreOverrideCursor();
        }
    }
    if (m_app.quitRequested()) {
        m_main->allowClose();
        for (QMdiSubWindow* frame : m_frames) {
            if (frame) {
                frame->removeEventFilter(this);
            }
        }
        QTimer::singleShot(0, m_main.get(), [this] {
            m_main->close();
            QApplication::quit();
        });
    }
}

void Gui::syncFrame(WindowId id) {
    const std::size_t i = index(id);
    QMdiSubWindow* frame = m_frames[i];
    CoreWindow* window = m_windows[i];
    if (!frame || !window) {
        return;
    }
    const WindowView& v = m_app.window(id);
    frame->setWindowTitle(qs(v.caption));
    if (v.placementCount != m_placed[i]) {
        m_placed[i] = v.placementCount;
        applyPlacement(id);
    }
    if (v.visible && !frame->isVisible()) {
        frame->show();
        window->show();
    } else if (!v.visible && frame->isVisible()) {
        frame->hide();
    }
    if (v.visible && v.raiseCount != m_raised[i]) {
        m_raised[i] = v.raiseCount;
        frame->raise();
    }
}

QRect Gui::pulledIntoView(QRect rect, const QRect& area) const {
    // Keep enough of the window inside the area to grab its title bar.
    constexpr int kGrab = 48;
    if (rect.width() > area.width()) {
        rect.setWidth(area.width());
    }
    if (rect.height() > area.height()) {
        rect.setHeight(area.height());
    }
    const int minX = area.left() - rect.width() + kGrab;
    const int maxX = area.right() - kGrab;
    const int minY = area.top();
    const int maxY = area.bottom() - kGrab / 2;
    rect.moveTo(std::clamp(rect.x(), std::min(minX, maxX), std::max(minX, maxX)),
                std::clamp(rect.y(), std::min(minY, maxY), std::max(minY, maxY)));
    return rect;
}

void Gui::applyPlacement(WindowId id) {
    const Placement& p = m_app.window(id).placement;
    const double perTwip = pixelsPerTwip();
    const auto px = [perTwip](double twips) {
        return static_cast<int>(std::lround(twips * perTwip));
    };

    if (id == WindowId::frmMain) {
        QRect rect(px(p.left), px(p.top), std::max(px(p.width), 200), std::max(px(p.height), 150));
        bool onScreen = false;
        for (const QScreen* screen : QGuiApplication::screens()) {
            if (screen->availableGeometry().intersects(
                    rect.adjusted(0, 0, 0, -rect.height() + 30))) {
                onScreen = true;
            }
        }
        if (!onScreen && QGuiApplication::primaryScreen()) {
            rect = pulledIntoView(rect, QGuiApplication::primaryScreen()->availableGeometry());
        }
        m_main->setGeometry(rect);
        m_normal[index(id)] = rect;
        return;
    }

    QMdiSubWindow* frame = m_frames[index(id)];
    if (!frame) {
        return;
    }
    const QSize own = frame->sizeHint();
    // Width or height 0: the window keeps its own size.
    const int width = p.width > 0 ? px(p.width) : own.width();
    const int height = p.height > 0 ? px(p.height) : own.height();
    QRect rect(px(p.left), px(p.top), std::max(width, 80), std::max(height, 40));
    const QRect area = m_main->mdiArea()->viewport()->rect();
    if (area.width() > 100 && area.height() > 100) {
        rect = pulledIntoView(rect, area);
    }
    frame->setGeometry(rect);
    m_normal[index(id)] = rect;
    switch (p.state) {
    case WindowState::Maximized:
        frame->showMaximized();
        break;
    case WindowState::Minimized:
        frame->showMinimized();
        break;
    case WindowState::Normal:
        break;
    }
    if (!m_app.window(id).visible) {
        frame->hide();
    }
}

void Gui::reportPlacement(WindowId id) {
    const double perTwip = pixelsPerTwip();
    QWidget* widget = id == WindowId::frmMain ? static_cast<QWidget*>(m_main.get())
                                              : static_cast<QWidget*>(m_frames[index(id)]);
    if (!widget) {
        return;
    }
    Placement p;
    const Qt::WindowStates states = widget->windowState();
    p.state = states.testFlag(Qt::WindowMinimized)   ? WindowState::Minimized
              : states.testFlag(Qt::WindowMaximized) ? WindowState::Maximized
                                                     : WindowState::Normal;
    QRect normal = m_normal[index(id)];
    if (p.state == WindowState::Normal) {
        normal = widget->geometry();
        m_normal[index(id)] = normal;
    } else if (id == WindowId::frmMain) {
        normal = m_main->normalGeometry();
    }
    if (normal.isEmpty()) {
        normal = widget->geometry();
    }
    p.left = normal.x() / perTwip;
    p.top = normal.y() / perTwip;
    p.width = normal.width() / perTwip;
    p.height = normal.height() / perTwip;
    m_app.windowPlaced(id, p);
}

bool Gui::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    for (std::size_t i = 0; i < kWindowCount; ++i) {
        const auto id = static_cast<WindowId>(i);
        QObject* widget = id == WindowId::frmMain ? static_cast<QObject*>(m_main.get())
                                                  : static_cast<QObject*>(m_frames[i]);
        if (!widget || widget != watched) {
            continue;
        }
        if (type == QEvent::Move || type == QEvent::Resize || type == QEvent::WindowStateChange) {
            reportPlacement(id);
        } else if (type == QEvent::Close && id != WindowId::frmMain) {
            // The title bar's close button acts as the window's own close
            // button (Done, Cancel, OK); core decides what stays loaded.
            event->ignore();
            m_app.windowClosed(id);
            return true;
        }
        break;
    }
    return QObject::eventFilter(watched, event);
}

} // namespace orlix::windows
