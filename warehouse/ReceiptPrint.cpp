#include "warehouse/ReceiptPrint.h"

#include <QLocale>
#include <map>

namespace zel {

Money ReceiptDocument::total() const {
    Money t;
    for (const auto& l : lines) t += l.importo;
    return t;
}

QList<ReceiptVatRow> receiptVatRows(const QList<ReceiptPrintLine>& lines, const VatRates& rates) {
    const auto configured = rates.configured();
    QList<Money> placed(configured.size());
    std::map<VatRate, Money> others;
    for (const auto& l : lines) {
        const int i = rates.indexOf(l.rate);
        if (i >= 0)
            placed[i] += l.iva;
        else
            others[l.rate] += l.iva;
    }
    QList<ReceiptVatRow> out;
    for (int i = 0; i < configured.size(); ++i) {
        ReceiptVatRow r;
        r.rateText = configured[i] ? configured[i]->text() + QStringLiteral("%") : QStringLiteral("-");
        r.amount = configured[i] && !placed[i].isZero() ? placed[i].format() : QStringLiteral("-");
        out.append(r);
    }
    for (const auto& [rate, iva] : others) out.append({rate.text() + QStringLiteral("%"), iva.format()});
    return out;
}

QString receiptNumberText(qint64 numero, const QString& yy) { return QStringLiteral("%1/%2").arg(numero).arg(yy); }

QString receiptFileName(qint64 numero, const QString& yy) {
    return QStringLiteral("rf") + receiptNumberText(numero, yy).replace(u'/', u'-') + QStringLiteral(".qrp");
}

report::PageModel renderReceipt(const ReceiptDocument& doc, const VatRates& rates) {
    using report::PageItem;
    report::PageModel m;
    m.title = QStringLiteral("Ricevuta fiscale ") + receiptNumberText(doc.numero, doc.yy);
    m.pageSize = QSizeF(80.0, 200.0);
    report::Page page;
    double y = 5;
    QFont font(QStringLiteral("Courier New"), 8);
    const auto text = [&](double x, double w, const QString& t, Qt::Alignment a = Qt::AlignLeft | Qt::AlignTop) {
        PageItem i;
        i.rect = QRectF(x, y, w, 4);
        i.text = t;
        i.font = font;
        i.alignment = a;
        page.items.push_back(i);
    };
    const auto right = Qt::AlignRight | Qt::AlignTop;
    text(5, 70, QStringLiteral("RICEVUTA FISCALE"));
    y += 5;
    text(5, 30, QStringLiteral("N. ") + receiptNumberText(doc.numero, doc.yy));
    text(35, 20, doc.date.toString(QStringLiteral("dd/MM/yyyy")));
    text(55, 20, doc.ora, right);
    y += 6;
    for (const auto& l : doc.lines) {
        text(5, 8, QLocale(QLocale::Italian).toString(l.quantity), right);
        text(14, 42, l.des.left(40));
        text(56, 19, l.importo.format(), right);
        y += 4;
    }
    y += 2;
    text(5, 40, QStringLiteral("TOTALE"));
    text(45, 30, doc.total().format(), right);
    y += 5;
    for (const auto& r : receiptVatRows(doc.lines, rates)) {
        text(5, 40, QStringLiteral("IVA ") + r.rateText);
        text(45, 30, r.amount, right);
        y += 4;
    }
    if (doc.cash) {
        text(5, 40, QStringLiteral("Contante"));
        text(45, 30, doc.cash->format(), right);
        y += 4;
        text(5, 40, QStringLiteral("Resto"));
        text(45, 30, (*doc.cash - doc.total()).format(), right);
        y += 4;
    }
    if (doc.card) text(5, 70, QStringLiteral("Pagamento con Carta di credito"));
    m.pages.push_back(std::move(page));
    return m;
}

}  // namespace zel
