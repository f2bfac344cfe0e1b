#pragma once

#include <QString>
#include <QVariantList>

namespace zel {

class Store;

// Numbering of a year's documents: MAX(number) + 1 over the archive, the numbers compared
// as numbers (text columns too). The proposal is checked again by claim() inside the
// transaction that writes the document, so a number taken meanwhile is refused.
class NextNumber {
public:
    // column is one of the program's fixed column names; condition, when given, is fixed
    // SQL with "?" placeholders for params (e.g. "TIPO = ?") narrowing the rows counted.
    NextNumber(Store& store, QString archivePath, QString column, QString condition = {},
               QVariantList params = {});

    // MAX + 1, 1 for an empty archive.
    qint64 propose() const;
    bool isTaken(qint64 number) const;
    // Inside the writing transaction: throws StoreError with takenMessage() when the
    // number is already there.
    void claim(qint64 number) const;

    static QString takenMessage(qint64 number);

private:
    QString where(const QString& extra) const;

    Store& m_store;
    QString m_path;
    QString m_column;
    QString m_condition;
    QVariantList m_params;
};

}  // namespace zel
