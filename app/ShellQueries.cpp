#include "app/ShellQueries.h"

#include <QFile>
#include <QRegularExpression>

#include "settings/Settings.h"
#include "store/Store.h"
#include "ui/Formats.h"

namespace zel {

QList<QVariantList> underStockArticles(Store& store, const Settings& settings) {
    const QString t = store.table(settings.text(u"Path", u"Archivio Magazzino"));
    return store.rows(QStringLiteral("SELECT cod, des, (qca-qsc) AS giacenza, prezzo_acq, prezzo_ven, scortamin, "
                                     "pos, cod_forn, cod_cli FROM %1 WHERE (qca-qsc) < scortamin ORDER BY des")
                          .arg(t));
}

QStringList underStockHeaders() {
    return {QStringLiteral("Codice"),      QStringLiteral("Descrizione"), QStringLiteral("Giacenza"),
            QStringLiteral("Prezzo acq."), QStringLiteral("Prezzo ven."), QStringLiteral("Scorta min."),
            QStringLiteral("Posizione"),   QStringLiteral("Cod. fornitore"), QStringLiteral("Cod. cliente")};
}

QString underStockHint(qsizetype count) {
    if (count == 0) return QStringLiteral("Non ci sono articoli sotto la scorta minima");
    return QStringLiteral("Sono presenti ") + QString::number(count) + QStringLiteral(" articoli sotto la scorta minima");
}

QList<DeadlineAlert> unpaidDeadlinesOn(Store& store, const Settings& settings, const QDate& day) {
    const QString t = store.table(settings.text(u"Path", u"Archivio scadenze"));
    QList<DeadlineAlert> out;
    for (const QVariantList& r :
         store.rows(QStringLiteral("SELECT cod_cli, des, dare, avere FROM %1 WHERE data = ? AND UPPER(pagato) = ? "
                                   "ORDER BY cod_cli")
                        .arg(t),
                    {day, QStringLiteral("N")}))
        out.append({r[0].toString(), r[1].toString(), r[2].toDouble(), r[3].toDouble()});
    return out;
}

QString deadlineAlertText(const QList<DeadlineAlert>& rows) {
    QStringList lines;
    for (const DeadlineAlert& d : rows) {
        const double amount = d.dare != 0 ? d.dare : d.avere;
        lines << QStringLiteral("%1 %2 %3").arg(d.codCli, d.des, fmt::number(amount, u"###,##0.00")).simplified();
    }
    return lines.join(QLatin1Char('\n'));
}

QList<ContactAlert> callBacksOn(Store& store, const Settings& settings, const QDate& day) {
    const QString t = store.table(settings.text(u"Path", u"Archivio Contatti"));
    QList<ContactAlert> out;
    for (const QVariantList& r :
         store.rows(QStringLiteral("SELECT cod_cli, perscont, orario, tel, note FROM %1 WHERE dataricont = ? AND "
                                   "COALESCE(riconteff, 0) = 0 ORDER BY orario, cod_cli")
                        .arg(t),
                    {day}))
        out.append({r[0].toString(), r[1].toString(), r[2].toString(), r[3].toString(), r[4].toString()});
    return out;
}

QString contactAlertText(const QList<ContactAlert>& rows) {
    QStringList lines;
    for (const ContactAlert& c : rows)
        lines << QStringLiteral("%1 %2 %3 %4 %5").arg(c.time, c.codCli, c.person, c.tel, c.note).simplified();
    return lines.join(QLatin1Char('\n'));
}

int deadlineAlertInterval(int frequencyIndex) {
    switch (frequencyIndex) {
        case 0: return 1800000;
        case 2: return 7200000;
        default: return 3600000;
    }
}

int contactAlertInterval(int frequencyIndex) {
    switch (frequencyIndex) {
        case 0: return 600000;
        case 2: return 5400000;
        default: return 1800000;
    }
}

qint64 recordCount(Store& store, const QString& path) {
    if (path.trimmed().isEmpty() || !Store::exists(path)) return 0;
    try {
        return store.scalar(QStringLiteral("SELECT COUNT(*) FROM %1").arg(store.table(path))).toLongLong();
    } catch (const StoreError&) {
        return 0;
    }
}

qint64 availableMemoryKb(const QString& meminfo) {
    static const QRegularExpression line(QStringLiteral("^(MemAvailable|SwapFree):\\s+(\\d+)"),
                                         QRegularExpression::MultilineOption);
    qint64 total = 0;
    bool seenAvailable = false;
    for (auto it = line.globalMatch(meminfo); it.hasNext();) {
        const auto m = it.next();
        total += m.captured(2).toLongLong();
        seenAvailable = seenAvailable || m.captured(1) == u"MemAvailable";
    }
    return seenAvailable ? total : -1;
}

qint64 availableMemoryKb() {
    QFile f(QStringLiteral("/proc/meminfo"));
    if (!f.open(QIODevice::ReadOnly)) return -1;
    return availableMemoryKb(QString::fromLatin1(f.readAll()));
}

}  // namespace zel
