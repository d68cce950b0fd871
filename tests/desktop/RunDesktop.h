#pragma once
// Starts orv-desktop as a user would, without a display and with its per-user
// folders under `home`, optionally through a wrapper program, and waits for it.

#include <gtest/gtest.h>

#include <QProcess>
#include <QString>
#include <QStringList>

namespace orv::test {

struct DesktopRun {
    int exitCode = -1;
    QString output;
};

inline DesktopRun RunDesktop(const QString& home, const QStringList& arguments, const QStringList& wrapper = {}) {
    QProcess process;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_QPA_PLATFORM", "offscreen");
    for (const QString name : {"config", "data", "cache"})
        env.insert("XDG_" + name.toUpper() + "_HOME", home + "/" + name);
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
