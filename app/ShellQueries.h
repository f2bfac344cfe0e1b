#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace zel {

class Settings;
class Store;

// Articles whose stock (loaded less unloaded) is below their minimum, ordered by
// description: cod, des, giacenza, prezzo_acq, prezzo_ven, scortamin, pos, cod_forn, cod_cli.
QList<QVariantList> underStockArticles(Store& store, const Settings& settings);
QStringList underStockHeaders();
QString underStockHint(qsizetype count);

// The alerts read the archives and never change them.
struct DeadlineAlert {
    QString codCli;
    QString des;
    double dare = 0;
    double avere = 0;
};
QList<DeadlineAlert> unpaidDeadlinesOn(Store& store, const Settings& settings, const QDate& day);
QString deadlineAlertText(const QList<DeadlineAlert>& rows);

struct ContactAlert {
    QString codCli;
    QString person;
    QString time;
    QString tel;
    QString note;
};
QList<ContactAlert> callBacksOn(Store& store, const Settings& settings, const QDate& day);
QString contactAlertText(const QList<ContactAlert>& rows);

// Timer intervals by the frequency choice of the settings.
int deadlineAlertInterval(int frequencyIndex);
int contactAlertInterval(int frequencyIndex);

// Records in an archive, 0 when it cannot be read.
qint64 recordCount(Store& store, const QString& path);

// Available memory in kB (free RAM the system can give plus free swap), parsed from
// the text of /proc/meminfo; -1 when the figures are missing.
qint64 availableMemoryKb(const QString& meminfo);
qint64 availableMemoryKb();

}  // namespace zel
