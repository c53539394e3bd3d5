// Starting another program on Qt: a program path with blanks in it is one
// program, whatever its arguments hold.
#include "platform/qt_system_tools.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace orlix {
namespace {

TEST(QtSystemTools, StartsAProgramWhosePathHasBlanksAsOneProgram) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString folder = dir.path() + "/Program Files/Shared Tools";
    ASSERT_TRUE(QDir().mkpath(folder));
    const QString program = folder + "/write marker";
    {
        QFile script(program);
        ASSERT_TRUE(script.open(QIODevice::WriteOnly));
        script.write("#!/bin/sh\nprintf '%s' \"$2\" > \"$1.tmp\" && mv \"$1.tmp\" \"$1\"\n");
        script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    }
    const QString marker = dir.path() + "/marker";

    platform::QtSystemTools tools;
    ASSERT_TRUE(tools.startProgram(program.toStdString(), {marker.toStdString(), "two words"}));
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(marker); }, 10000));
    QFile result(marker);
    ASSERT_TRUE(result.open(QIODevice::ReadOnly));
    EXPECT_EQ(result.readAll(), "two words");

    EXPECT_FALSE(tools.startProgram((dir.path() + "/Program Files/none").toStdString(), {}));
    EXPECT_FALSE(tools.startProgram("", {}));
}

} // namespace
} // namespace orlix
