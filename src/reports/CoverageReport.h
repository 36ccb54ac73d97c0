#pragma once

#include "storage/ClauseCoverage.h"
#include "storage/Document.h"
#include <QDateTime>
#include <QHash>
#include <vector>

// Report > Clause coverage: every clause of ISO 9001:2000 with its title and the current documents
// that serve it, the gaps summed up first. UTF-8, every text escaped.
QString BuildCoverageReportPage(const std::vector<ClauseCoverage>& coverage,
                                const QHash<QString, std::vector<Document>>& serving, const QString& catalogue,
                                const QDateTime& produced);
// Writes the page into the temp folder as the report does and opens it; a failure is told with
// "COVER1".
void WriteCoverageReport(const std::vector<ClauseCoverage>& coverage,
                         const QHash<QString, std::vector<Document>>& serving, const QString& catalogue);
