#include "PeakMemory.h"

#include "BenchFolder.h"
#include "EventIdle.h"
#include "ProgramSession.h"
#include "startup/frmSplash.h"
#include <QCoreApplication>
#include <QFile>
#include <QProcess>
#include <QTextStream>
#include <algorithm>
#include <vector>

namespace {
const QString kFlag = QStringLiteral("--footprint");
const QString kReply = QStringLiteral("VmHWM ");
} // namespace

long PeakMemory::SelfKiB()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly | QIODevice::Text))
        return -1;
    QTextStream in(&status);
    for (QString line = in.readLine(); !line.isNull(); line = in.readLine()) {
        if (line.startsWith(QStringLiteral("VmHWM:")))
            return line.mid(6).trimmed().section(QLatin1Char(' '), 0, 0).toLong();
    }
    return -1;
}

long PeakMemory::Child(const QString& state, const QString& folder, const QString& category, int runs, long* before)
{
    std::vector<std::pair<long, long>> peaks;
    for (int i = 0; i < runs; ++i) {
        QProcess child;
        // A profiler watching the driver has no business with its children.
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.remove(QStringLiteral("CADRELLE_BENCH_PERF_CTL"));
        environment.remove(QStringLiteral("CADRELLE_BENCH_PERF_ACK"));
        child.setProcessEnvironment(environment);
        child.start(QCoreApplication::applicationFilePath(), {kFlag, state, folder, category});
        if (!child.waitForFinished(300000) || child.exitStatus() != QProcess::NormalExit || child.exitCode() != 0)
            return -1;
        const QString out = QString::fromUtf8(child.readAllStandardOutput());
        const qsizetype at = out.lastIndexOf(kReply);
        if (at < 0)
            return -1;
        const QString figures = out.mid(at + kReply.size()).section(QLatin1Char('\n'), 0, 0).trimmed();
        peaks.emplace_back(figures.section(QLatin1Char(' '), 0, 0).toLong(),
                           figures.section(QLatin1Char(' '), 1, 1).toLong());
    }
    std::sort(peaks.begin(), peaks.end());
    if (peaks.empty())
        return -1;
    if (before)
        *before = peaks[peaks.size() / 2].second;
    return peaks[peaks.size() / 2].first;
}

int PeakMemory::RunChild(const QStringList& arguments, ScriptedUi& ui)
{
    const int at = int(arguments.indexOf(kFlag));
    if (at < 0 || arguments.size() < at + 4)
        return 2;
    const QString state = arguments[at + 1];
    BenchFolder::Use(arguments[at + 2]);
    ProgramSession session(ui);
    if (state == QLatin1String(kSplash)) {
        frmSplash splash;
        splash.show();
        EventIdle::Wait();
        QTextStream(stdout) << kReply << SelfKiB() << Qt::endl;
        return 0;
    }
    if (session.StartUp().failed())
        return 1;
    const bool listed = state == QLatin1String(kLargest) || state == QLatin1String(kReport);
    if (listed && session.ClickCategory(arguments[at + 3]).failed())
        return 1;
    const long before = SelfKiB();
    if (state == QLatin1String(kReport) && session.Report().failed())
        return 1;
    if (state == QLatin1String(kMasterList) && session.MasterList().failed())
        return 1;
    QTextStream(stdout) << kReply << SelfKiB() << ' ' << before << Qt::endl;
    return 0;
}
