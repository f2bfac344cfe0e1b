#pragma once

#include <QDateTime>
#include <QString>

namespace zel {

// Use of a module, kept in <base>/survey.zel in a section named after the module.
struct UsageRecord {
    QString stringa;  // "Ultimo utilizzo:" with date, time and the module's record count
    int uses = 0;
};

class UsageCounters {
public:
    explicit UsageCounters(QString baseFolder);

    // Called when a module window closes; false when the file could not be written.
    // countLabel goes between the time and the count (for example "    Schede in archivio: ").
    bool recordUse(const QString& module, qint64 recordCount, const QDateTime& when, const QString& countLabel = {});
    UsageRecord read(const QString& module) const;

    QString filePath() const;
    static QString stringFor(const QDateTime& when, qint64 recordCount, const QString& countLabel = {});

private:
    QString m_base;
};

}  // namespace zel
