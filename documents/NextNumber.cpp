#include "documents/NextNumber.h"

#include "store/Store.h"

namespace zel {

NextNumber::NextNumber(Store& store, QString archivePath, QString column, QString condition,
                       QVariantList params)
    : m_store(store),
      m_path(std::move(archivePath)),
      m_column(Store::plainName(column)),
      m_condition(std::move(condition)),
      m_params(std::move(params)) {}

QString NextNumber::where(const QString& extra) const {
    QStringList parts;
    if (!m_condition.isEmpty()) parts.append(QLatin1Char('(') + m_condition + QLatin1Char(')'));
    if (!extra.isEmpty()) parts.append(extra);
    return parts.isEmpty() ? QString()
                           : QStringLiteral(" WHERE ") + parts.join(QStringLiteral(" AND "));
}

qint64 NextNumber::propose() const {
    // Text columns hold "9" and "10": the largest is found as a number.
    const QVariant max = m_store.scalar(QStringLiteral("SELECT MAX(CAST(%1 AS INTEGER)) FROM %2%3")
                                            .arg(m_column, m_store.table(m_path), where({})),
                                        m_params);
    return (max.isNull() ? 0 : max.toLongLong()) + 1;
}

bool NextNumber::isTaken(qint64 number) const {
    QVariantList params = m_params;
    params.append(number);
    return m_store
        .scalar(QStringLiteral("SELECT 1 FROM %1%2 LIMIT 1")
                    .arg(m_store.table(m_path),
                         where(QStringLiteral("CAST(%1 AS INTEGER) = ?").arg(m_column))),
                params)
        .isValid();
}

void NextNumber::claim(qint64 number) const {
    if (isTaken(number)) throw StoreError(takenMessage(number));
}

QString NextNumber::takenMessage(qint64 number) {
    return QStringLiteral(
               "Il numero %1 è già presente nell'archivio: il documento non è stato registrato.")
        .arg(number);
}

}  // namespace zel
