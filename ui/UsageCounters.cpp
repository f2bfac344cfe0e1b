#include "ui/UsageCounters.h"

#include <QDir>

#include "settings/IniFile.h"

namespace zel {

namespace {
const QString kString = QStringLiteral("stringa");
const QString kUses = QStringLiteral("numero utilizzi");
}  // namespace

UsageCounters::UsageCounters(QString baseFolder) : m_base(std::move(baseFolder)) {}

QString UsageCounters::filePath() const { return QDir(m_base).filePath(QStringLiteral("survey.zel")); }

QString UsageCounters::stringFor(const QDateTime& when, qint64 recordCount, const QString& countLabel) {
    return QStringLiteral("Ultimo utilizzo: ") + when.toString(QStringLiteral("dd/MM/yyyy HH:mm")) +
           (countLabel.isEmpty() ? QStringLiteral(" ") : countLabel) + QString::number(recordCount);
}

bool UsageCounters::recordUse(const QString& module, qint64 recordCount, const QDateTime& when,
                              const QString& countLabel) {
    IniFile ini(filePath());
    ini.load();
    const int uses = ini.value(module, kUses, QStringLiteral("0")).toInt() + 1;
    ini.setValue(module, kString, stringFor(when, recordCount, countLabel));
    ini.setValue(module, kUses, QString::number(uses));
    return ini.save();
}

UsageRecord UsageCounters::read(const QString& module) const {
    IniFile ini(filePath());
    ini.load();
    return {ini.value(module, kString, QString()), ini.value(module, kUses, QStringLiteral("0")).toInt()};
}

}  // namespace zel
