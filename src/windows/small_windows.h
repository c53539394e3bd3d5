// The small windows of the connection: the attempt window, the retry
// limit window, the time-out notice; and the version window.
#pragma once

#include "windows/core_window.h"

class QLabel;
class QLineEdit;

namespace orlix::windows {

class FrmTryingWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmTryingWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QLabel* m_limit;
    QLabel* m_toGo;
};

class FrmChangeTriesWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmChangeTriesWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QLineEdit* m_text;
    std::uint32_t m_textCount = 0;
};

class FrmTimedOutWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmTimedOutWindow(App& app, QWidget* parent = nullptr);
    void sync() override {}
};

class FrmVersionWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmVersionWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QLabel* m_firmware;
    QLabel* m_eprom;
    QLabel* m_tool;
};

class FrmAboutWindow : public CoreWindow {
    Q_OBJECT
public:
    explicit FrmAboutWindow(App& app, QWidget* parent = nullptr);
    void sync() override;

private:
    QLabel* m_title;
    QLabel* m_version;
    QLabel* m_description;
};

} // namespace orlix::windows
