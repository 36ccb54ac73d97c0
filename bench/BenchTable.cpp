#include "BenchTable.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextStream>

namespace {

QString number(double value)
{
    return value < 0 ? QStringLiteral("failed") : QString::number(value, 'f', value < 10 ? 2 : 1);
}

QString optional(const std::optional<double>& value)
{
    return value ? QString::number(*value, 'f', 2) : QString();
}

std::optional<double> ratio(double over, double under)
{
    if (over < 0 || under <= 0)
        return std::nullopt;
    return over / under;
}

} // namespace

const BenchTable::Row* BenchTable::Find(const QString& measure, int documents) const
{
    for (const Row& row : m_rows) {
        if (row.measure == measure && row.documents == documents)
            return &row;
    }
    return nullptr;
}

std::optional<double> BenchTable::Ratio(const Row& row)
{
    return ratio(row.program, row.floor);
}

std::optional<double> BenchTable::CpuRatio(const Row& row)
{
    return ratio(row.programCpu, row.floorCpu);
}

std::optional<double> BenchTable::Growth(const Row& row) const
{
    const Row* smaller
        = row.documents >= 10 && row.documents % 10 == 0 ? Find(row.measure, row.documents / 10) : nullptr;
    return smaller ? ratio(row.program, smaller->program) : std::nullopt;
}

std::optional<double> BenchTable::CpuGrowth(const Row& row) const
{
    const Row* smaller
        = row.documents >= 10 && row.documents % 10 == 0 ? Find(row.measure, row.documents / 10) : nullptr;
    return smaller ? ratio(row.programCpu, smaller->programCpu) : std::nullopt;
}

void BenchTable::Print(QTextStream& out) const
{
    const auto line = [&out](const QStringList& cells) {
        const int widths[] = {36, 7, 12, 12, 6, 6, 11, 11, 6, 6, 0};
        for (int i = 0; i < cells.size(); ++i) {
            out << (i == 0 || i == 10 ? Qt::left : Qt::right) << qSetFieldWidth(widths[i]) << cells[i]
                << qSetFieldWidth(0) << (i + 1 < cells.size() ? " " : "");
        }
        out << Qt::endl;
    };
    line({QStringLiteral("Measure"), QStringLiteral("Docs"), QStringLiteral("Program"), QStringLiteral("Floor"),
          QStringLiteral("Ratio"), QStringLiteral("x10"), QStringLiteral("CPU prog"), QStringLiteral("CPU floor"),
          QStringLiteral("Ratio"), QStringLiteral("x10"), QStringLiteral("Floor is")});
    for (const Row& row : m_rows) {
        const bool hasFloor = !row.floorWhat.isEmpty();
        const bool timed = row.unit == QLatin1String("ms");
        const QString unit = QLatin1Char(' ') + row.unit;
        line({row.measure, QString::number(row.documents), number(row.program) + unit,
              hasFloor ? number(row.floor) + unit : QString(), optional(Ratio(row)), optional(Growth(row)),
              timed ? number(row.programCpu) + unit : QString(),
              timed && hasFloor ? number(row.floorCpu) + unit : QString(), optional(CpuRatio(row)),
              optional(CpuGrowth(row)), row.floorWhat});
    }
    out << Qt::left;
}

bool BenchTable::WriteCsv(const QString& path) const
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate | QIODevice::Text))
        return false;
    QTextStream out(&file);
    out << "measure,documents,unit,program,floor,ratio,x10_step,program_cpu,floor_cpu,cpu_ratio,cpu_x10_step,"
           "floor_is\n";
    const auto value = [](double v) { return v < 0 ? QString() : QString::number(v, 'f', 3); };
    for (const Row& row : m_rows) {
        QString measure = row.measure;
        out << '"' << measure.replace(QLatin1Char('"'), QStringLiteral("\"\"")) << "\"," << row.documents << ','
            << row.unit << ',' << value(row.program) << ',' << value(row.floor) << ',' << optional(Ratio(row)) << ','
            << optional(Growth(row)) << ',' << value(row.programCpu) << ',' << value(row.floorCpu) << ','
            << optional(CpuRatio(row)) << ',' << optional(CpuGrowth(row)) << ",\"" << row.floorWhat << "\"\n";
    }
    return true;
}
