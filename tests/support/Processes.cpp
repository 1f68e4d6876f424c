#include "Processes.h"

#include <QProcess>
#include <QTest>

namespace quillet {

std::optional<QByteArray> runHandlingEvents(const QString& program, const QStringList& arguments)
{
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForStarted() ||
        !QTest::qWaitFor([&process] { return process.state() == QProcess::NotRunning; }, 30000) ||
        process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        return std::nullopt;
    return process.readAllStandardOutput();
}

}  // namespace quillet
