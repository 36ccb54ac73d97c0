#pragma once

#include <QList>
#include <QString>
#include <optional>

class QTextStream;

// The figures of one run of the driver: each beside its floor and their ratio, and, for sizes
// after the first, how much it grew over the size ten times smaller. Times are given as wall
// clock and as processor time.
class BenchTable
{
public:
    struct Row
    {
        QString measure; // what the program did
        int documents = 0;
        double program = -1; // in unit; negative when it could not be measured
        double floor = -1;
        QString unit; // "ms" or "MiB"
        QString floorWhat; // what the floor is; empty when the figure has none
        double programCpu = -1; // processor time, for times only
        double floorCpu = -1;
    };

    void Add(const Row& row) { m_rows.append(row); }
    const Row* Find(const QString& measure, int documents) const;

    static std::optional<double> Ratio(const Row& row);
    static std::optional<double> CpuRatio(const Row& row);
    // The figure over the same figure for a tenth of the documents.
    std::optional<double> Growth(const Row& row) const;
    std::optional<double> CpuGrowth(const Row& row) const;

    void Print(QTextStream& out) const;
    bool WriteCsv(const QString& path) const;

private:
    QList<Row> m_rows;
};
