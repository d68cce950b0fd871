#pragma once
// orv-desktop started as a separate program, as a user starts it: without a
// display, its per-user folders inside a test's own folder, its output kept.
// The test program names the built orv-desktop in ORV_DESKTOP_PATH.

#include <gtest/gtest.h>

#include <QDir>
#include <QProcess>
#include <QStringList>

namespace orv::test {

struct DesktopRun {
    int exitCode = -1;  // -1 when it crashed
    QString output;
};

// Runs orv-desktop with `arguments`, through `wrapper` (a program and its
// arguments) when one is given, and waits for it to finish.
inline DesktopRun RunDesktop(const QString& folder, const QStringList& arguments, const QStringList& wrapper = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString name : {"config", "data", "cache"})
        env.insert("XDG_" + name.toUpper() + "_HOME", QDir(folder).filePath(name));
    process.setProcessEnvironment(env);
    process.setProcessChannelMode(QProcess::MergedChannels);
    const QString program = QStringLiteral(ORV_DESKTOP_PATH);
    if (wrapper.isEmpty()) {
        process.start(program, arguments);
    } else {
        process.start(wrapper.front(), wrapper.mid(1) + QStringList{program} + arguments);
    }
    EXPECT_TRUE(process.waitForFinished(180000)) << "orv-desktop did not finish";
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAll())};
}

}  // namespace orv::test
