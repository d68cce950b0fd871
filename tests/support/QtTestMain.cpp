// main() of every Qt test program: one QApplication for the whole run.
// ctest sets QT_QPA_PLATFORM=offscreen; a program started by hand (or for test
// discovery) without it gets the offscreen platform too, so no display is
// needed. Set QT_QPA_PLATFORM=xcb under xvfb-run for focus-sensitive tests.

#include <QApplication>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdio>

namespace {

// The offscreen platform warns about every window operation it lacks (sizing
// dialogs natively, raising, grabbing the keyboard); those lines say nothing
// about the code under test.
QtMessageHandler previousHandler = nullptr;

void QuietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (message.startsWith(QLatin1String("This plugin does not support"))) return;
    if (previousHandler)
        previousHandler(type, context, message);
    else
        std::fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, message)));
}

}  // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // Per-user files (settings, data) go to a private folder for this run,
    // so tests never read or change the real user's.
    QTemporaryDir home;
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(home.filePath(QStringLiteral("config"))));
    qputenv("XDG_DATA_HOME", QFile::encodeName(home.filePath(QStringLiteral("data"))));
    previousHandler = qInstallMessageHandler(QuietHandler);
    QApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
