#include "frontend/window/driver_run.h"

#include <csignal>
#include <sys/types.h>
#include <unistd.h>

#include <QTimer>

namespace vornel::frontend {

namespace {

constexpr int kKillDelayMs = 5000;

}  // namespace

DriverRun::DriverRun(QObject* parent) : QObject(parent), killTimer_(new QTimer(this)) {
    killTimer_->setSingleShot(true);
    killTimer_->setInterval(kKillDelayMs);
    connect(killTimer_, &QTimer::timeout, this, [this] { signalGroup(SIGKILL); });
    process_.setProcessChannelMode(QProcess::MergedChannels);
    // The driver leads a process group of its own, so that stopping it also
    // reaches the extractor, the sorter and the joiner it runs.
    process_.setChildProcessModifier([] { ::setpgid(0, 0); });
    connect(&process_, &QProcess::readyRead, this, [this] {
        Q_EMIT output(QString::fromLocal8Bit(process_.readAll()));
    });
    connect(&process_, &QProcess::finished, this, [this](int code, QProcess::ExitStatus status) {
        killTimer_->stop();
        const QByteArray rest = process_.readAll();
        if (!rest.isEmpty()) Q_EMIT output(QString::fromLocal8Bit(rest));
        RunOutcome outcome;
        outcome.killedBySignal = status == QProcess::CrashExit;
        // On a crash the process reports the signal that ended it as its code.
        if (outcome.killedBySignal) {
            outcome.signal = code;
        } else {
            outcome.exitCode = code;
        }
        Q_EMIT finished(outcome);
    });
    connect(&process_, &QProcess::errorOccurred, this, [this](QProcess::ProcessError error) {
        if (error == QProcess::FailedToStart) Q_EMIT failedToStart(process_.errorString());
    });
}

DriverRun::~DriverRun() {
    if (!isRunning()) return;
    signalGroup(SIGINT);
    if (!process_.waitForFinished(2000)) {
        signalGroup(SIGKILL);
        process_.waitForFinished(2000);
    }
}

bool DriverRun::isRunning() const { return process_.state() != QProcess::NotRunning; }

void DriverRun::start(const QString& program, const QStringList& arguments) {
    process_.start(program, arguments);
}

void DriverRun::stop() {
    if (!isRunning()) return;
    signalGroup(SIGINT);
    killTimer_->start();
}

void DriverRun::signalGroup(int signal) {
    const qint64 pid = process_.processId();
    if (pid <= 0) return;
    // Right after the start the child may not lead its group yet.
    if (::kill(-static_cast<pid_t>(pid), signal) != 0) ::kill(static_cast<pid_t>(pid), signal);
}

}  // namespace vornel::frontend
