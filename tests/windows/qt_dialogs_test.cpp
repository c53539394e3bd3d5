// The dialogs let the windows catch up before each one opens, so what a
// window shows behind a message is what core holds at that moment.
#include "platform/qt_dialogs.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orlix::platform {
namespace {

TEST(QtDialogsTest, TheHookRunsBeforeEveryMessageBoxOpens) {
    QtDialogs dialogs;
    std::vector<std::string> order;
    dialogs.setBeforeModal([&] { order.push_back("hook"); });
    // Each box is answered with its first button as soon as it shows.
    QTimer answer;
    answer.setInterval(5);
    QObject::connect(&answer, &QTimer::timeout, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            order.push_back("shown");
            box->buttons().first()->click();
        }
    });
    answer.start();

    dialogs.message("Done.", "Firmware Download");
    dialogs.askYesNo("Start the new firmware now (g)?", "Firmware Download");
    dialogs.choose("How?", {"Erase and download", "Cancel"}, "Firmware Download");

    const std::vector<std::string> expected = {"hook", "shown", "hook", "shown", "hook", "shown"};
    EXPECT_EQ(order, expected);
}

} // namespace
} // namespace orlix::platform
