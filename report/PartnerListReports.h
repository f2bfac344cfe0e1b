#pragma once

#include <QDate>
#include <QSet>
#include <QString>
#include <memory>
#include <vector>

#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {
class Settings;
}

namespace zel::report {

// The kind buttons of the registry's print page; they choose the title.
enum class PartnerKind { Tutti, Clienti, Fornitori, ClientiFornitori };

// A list of registry cards, one line per card. Rows are registry rows with the
// archive's column names (COD_CLI, NOME, VIA, CAP, CITTA, PROV1, TEL, CELL, FAX, EMAIL,
// PIVA, CF, GRUPPO, CAT_FISC ...; any case). Letterhead lines 1..5 of the settings head
// every page. Usage:
//     Tqr_lista_anagrafica2 rpt(settings);
//     rpt.setRows(rows);
//     rpt.setKind(PartnerKind::Clienti);
//     PreviewWindow::exec(rpt.render(), copies, parent);   // or rpt.exportPdf(path)
class PartnerListReport {
public:
    struct Column {
        QString field;
        QString caption;
        double width;  // mm; the name column takes what hidden columns leave
    };

    virtual ~PartnerListReport() = default;

    void setRows(const Rows& rows);
    const Rows& rows() const { return m_rows; }
    bool isEmpty() const { return m_rows.isEmpty(); }
    void setKind(PartnerKind kind) { m_kind = kind; }
    PartnerKind kind() const { return m_kind; }
    static QString titleFor(PartnerKind kind);
    QString title() const { return titleFor(m_kind); }
    // A column of this layout (by field) left out of the print.
    void setColumnHidden(const QString& field, bool hidden);
    const std::vector<Column>& columns() const { return m_columns; }
    // The print date in the page footer; today unless set.
    void setPrintDate(const QDate& d) { m_date = d; }

    Layout layout() const;
    PageModel render() const;
    bool exportPdf(const QString& path, QString* error = nullptr) const;

    // The three reports in the order of "Seleziona il report di stampa".
    static QStringList choices();
    static std::unique_ptr<PartnerListReport> create(int choice, const Settings& settings);

protected:
    PartnerListReport(const Settings& settings, QString name, std::vector<Column> columns);

private:
    const Settings& m_settings;
    QString m_name;
    std::vector<Column> m_columns;
    QSet<QString> m_hidden;
    Rows m_rows;
    PartnerKind m_kind = PartnerKind::Tutti;
    QDate m_date;
};

// "Codice - Nome - Città - Tel - Cell - Email"
class Tqr_lista_anagrafica : public PartnerListReport {
public:
    explicit Tqr_lista_anagrafica(const Settings& settings);
};

// "Codice - Nome - Indirizzo - Città - Tel"
class Tqr_lista_anagrafica2 : public PartnerListReport {
public:
    explicit Tqr_lista_anagrafica2(const Settings& settings);
};

// "Codice - Nome - P.I. - C.F. Gruppo - Cat. fiscale"
class Tqr_lista_anagrafica3 : public PartnerListReport {
public:
    explicit Tqr_lista_anagrafica3(const Settings& settings);
};

}  // namespace zel::report
