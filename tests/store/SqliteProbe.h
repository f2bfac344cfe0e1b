#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>

namespace zel::test {

// Reads archive files with plain SQLite, independent of the program's own store.
struct Probe {
    static QStringList tables(const QString& file);
    // "NAME TYPE" of each column of the file's only table, in order.
    static QStringList columns(const QString& file);
    static qint64 count(const QString& file);
    // Every row as text, in stored order; and the schema: what a user would see.
    static QString dump(const QString& file);
    static void exec(const QString& file, const QString& sql);
    static QList<QVariantList> rows(const QString& file, const QString& sql);
};

}  // namespace zel::test
