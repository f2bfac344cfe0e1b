#pragma once

#include <QDate>
#include <QList>
#include <QString>
#include <optional>

#include "documents/Money.h"

namespace zel {

class Store;
class Settings;

// One row of the deadline archive. DARE is what the shop must pay, AVERE what it is
// to receive.
struct Deadline {
    qint64 rowid = 0;
    qint64 id = 0;
    QDate data;
    QString cod;
    QString des;
    QString des2;
    QString des3;
    Money dare;
    Money avere;
    QString banca;
    QString pagato = QStringLiteral("N");
    QDate datapag;
    QString codCli;
    qint64 fattura = 0;
    QDate dataFatt;
    bool reminder = false;

    // "N", "S", "A" read trimmed and upper-cased.
    QString paidLetter() const { return pagato.trimmed().toUpper(); }
    bool unpaid() const { return paidLetter() == u"N"; }
    // Unpaid and due before today; a deadline due today is not overdue yet.
    bool overdue(const QDate& today) const { return unpaid() && data.isValid() && data < today; }
    // Days from today to the payment date when it is set after 1900, else to the due date.
    int daysToDeadline(const QDate& today) const;
    // "Non pagato", "Pagato", "Dato Acconto" (empty for any other letter).
    QString paidLabel() const;
};

// The browser's filters; an unset part does not filter.
struct DeadlineFilter {
    std::optional<QDate> dueFrom, dueTo, payFrom, payTo;
    QString party;
    QString description;
};

// The filter window's criteria: a due-date range and optional parts.
struct DeadlineSearch {
    QDate from, to;
    QString kind, bank, description, description2;
    QString paid;  // "", "N", "S" or "A"
    enum class Order { Data, Des, Des2, Cod, Banca } order = Order::Data;
    bool unpaidOnly = false;
};

struct Repetition {
    bool yearly = false;
    bool endOfMonth = false;
    QDate from, to;
};

// The deadline archive: lists by rowid, reads, writes and repeats deadlines. Rows are
// changed and deleted by rowid; ID is the number shown.
class DeadlineArchive {
public:
    DeadlineArchive(Store& store, QString path);
    static DeadlineArchive fromSettings(Store& store, const Settings& settings);

    // Sortable grid columns, in grid order.
    static const QStringList& columns();

    // The rowids of the browser's list: dates after 01/01/1900, the filter, the order
    // of one of columns() (then by date and rowid).
    QList<qint64> list(const DeadlineFilter& filter,
                       const QString& orderColumn = QStringLiteral("DATA"));
    QList<qint64> search(const DeadlineSearch& s);
    // The unpaid deadlines due between the two dates, by date.
    QList<qint64> unpaidBetween(const QDate& from, const QDate& to);
    qint64 count();

    std::optional<Deadline> load(qint64 rowid);
    // The rows among rowids that still exist, keyed by rowid order of the argument.
    QList<Deadline> loadMany(const QList<qint64>& rowids);

    qint64 nextId();
    // Appends with the next ID taken at that moment; returns the rowid.
    qint64 insert(Deadline d);
    // Rewrites the row of d.rowid; false when it no longer exists.
    bool update(const Deadline& d);
    bool remove(qint64 rowid);

    // The due dates of a repetition after its first date up to and including its last.
    static QList<QDate> repetitionDates(const Repetition& r);
    // Appends one unpaid copy of d per repetition date, in one transaction; the count made.
    int repeat(const Deadline& d, const Repetition& r);

    const QString& path() const { return m_path; }

private:
    QString table();
    void bindRow(const Deadline& d, QVariantList& params) const;

    Store& m_store;
    QString m_path;
    bool m_indexChecked = false;
};

}  // namespace zel
