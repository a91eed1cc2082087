#pragma once
// One run of the driver as a child process. The window stays responsive: the
// run reports its output as it arrives and its outcome when it ends, and can
// be stopped with the console interrupt.
#include <QObject>
#include <QProcess>
#include <QStringList>

#include "frontend/compose/run_outcome.h"

class QTimer;

namespace vornel::frontend {

class DriverRun : public QObject {
    Q_OBJECT
public:
    explicit DriverRun(QObject* parent = nullptr);
    ~DriverRun() override;

    bool isRunning() const;
    void start(const QString& program, const QStringList& arguments);
    // Interrupts the driver and the tools it started; kills them if they
    // have not ended a few seconds later.
    void stop();

Q_SIGNALS:
    void output(const QString& text);
    void finished(const vornel::frontend::RunOutcome& outcome);
    void failedToStart(const QString& reason);

private:
    void signalGroup(int signal);

    QProcess process_;
    QTimer* killTimer_;
};

}  // namespace vornel::frontend
