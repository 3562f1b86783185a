#pragma once
// The client of other programs, kavrino-post, run as a process of its own against this test program's
// endpoint, while the user interface (which answers the requests) keeps running.

#include "PostListener.h"
#include "TestHooks.h"

#include <QByteArray>
#include <QDir>
#include <QProcess>
#include <QProcessEnvironment>
#include <QStringList>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>

namespace posttest {

const char kClient[] = KAVRINO_BINARY_DIR "/kavrino-post";
const char kProgram[] = KAVRINO_BINARY_DIR "/kavrino";

// The environment of a program or client that looks for endpoints in the directory.
inline QProcessEnvironment EnvironmentFor(const QString& directory) {
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("KAVRINO_POST_DIR", directory);
    return env;
}

struct ClientRun {
    int exitCode = -1;
    std::string out;
    std::string err;
};

inline void PrintTo(const ClientRun& run, std::ostream* os) {
    *os << "exit " << run.exitCode << ", out \"" << run.out << "\", err \"" << run.err << "\"";
}

// Runs kavrino-post with the arguments (and the bytes on its standard input) until it ends.
inline ClientRun RunClient(const QString& directory, const QStringList& args, const QByteArray& input = {}) {
    ClientRun run;
    QProcess client;
    client.setProcessEnvironment(EnvironmentFor(directory));
    client.start(kClient, args);
    if (!client.waitForStarted()) {
        run.err = "kavrino-post did not start";
        return run;
    }
    client.write(input);
    client.closeWriteChannel();
    // The listener answers on this thread, so it keeps running while the client waits.
    kavrino::PumpUntil([&] { return client.state() == QProcess::NotRunning; }, 20000);
    if (client.state() != QProcess::NotRunning) {
        client.kill();
        client.waitForFinished();
        run.err = "kavrino-post did not end";
        return run;
    }
    run.exitCode = client.exitStatus() == QProcess::NormalExit ? client.exitCode() : -1;
    run.out = client.readAllStandardOutput().trimmed().toStdString();
    run.err = client.readAllStandardError().trimmed().toStdString();
    return run;
}

// Posts through the client to this test program's endpoint; the arguments name the window and message.
inline ClientRun Post(const QString& directory, QStringList args) {
    args.prepend(QString::number(::getpid()));
    args.prepend("--pid");
    return RunClient(directory, args);
}

// This test program listens in a directory of its own while the scope lives.
class ListenerScope {
public:
    explicit ListenerScope(const QString& directory) : m_directory(directory) {
        std::string reason;
        EXPECT_TRUE(kavrino::StartPostListener(reason, directory.toStdString())) << reason;
    }
    ~ListenerScope() { kavrino::StopPostListener(); }
    ListenerScope(const ListenerScope&) = delete;
    ListenerScope& operator=(const ListenerScope&) = delete;

    const QString& Directory() const { return m_directory; }

private:
    QString m_directory;
};

} // namespace posttest
