#include "deadlines/TQR_scad.h"

#include "report/Engine.h"
#include "settings/Settings.h"
#include "ui/Formats.h"

using namespace Qt::Literals::StringLiterals;

namespace zel {

namespace {

using report::Item;

struct Column {
    double x, w;
    QString title, field;
    bool right;
};

const QList<Column>& cols() {
    static const QList<Column> c{
        {0, 22, u"Data"_s, u"data"_s, false},        {23, 30, u"Tipologia"_s, u"cod"_s, false},
        {54, 60, u"Descrizione"_s, u"des"_s, false}, {115, 25, u"Cli/For"_s, u"cod_cli"_s, false},
        {139, 20, u"Dare"_s, u"dare"_s, true},       {160, 20, u"Avere"_s, u"avere"_s, true},
        {182, 8, u"Pag."_s, u"pagato"_s, false}};
    return c;
}

}  // namespace

report::Rows TQR_scad::rows(const QList<Deadline>& list) {
    report::Rows out;
    out.reserve(list.size());
    for (const Deadline& d : list) {
        report::Row r;
        r.insert(u"data"_s, fmt::date(d.data));
        r.insert(u"cod"_s, d.cod);
        r.insert(u"des"_s, d.des);
        r.insert(u"cod_cli"_s, d.codCli);
        r.insert(u"dare"_s, d.dare.format());
        r.insert(u"avere"_s, d.avere.format());
        r.insert(u"dare_cents"_s, d.dare.cents());
        r.insert(u"avere_cents"_s, d.avere.cents());
        r.insert(u"pagato"_s, d.paidLetter());
        out.append(r);
    }
    return out;
}

report::Layout TQR_scad::layout(const Settings& settings) {
    report::Layout l;
    l.name = u"TQR_scad"_s;
    l.title.height = 22;
    l.title.add(Item::label({0, 0, 190, 6}, settings.text(u"Utente", u"riga 1")))
        .bold()
        .withPointSize(11);
    l.title.add(Item::label({0, 6, 190, 5}, settings.text(u"Utente", u"riga 2")));
    l.title.add(Item::label({0, 13, 190, 7}, u"Elenco scadenze"_s)).bold().withPointSize(12);
    l.columnHeader.height = 7;
    for (const Column& c : cols())
        l.columnHeader.add(Item::label({c.x, 0, c.w, 6}, c.title))
            .bold()
            .align((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    l.columnHeader.add(Item::line({0, 6.5, 190, 0}));
    l.detail.height = 5;
    for (const Column& c : cols())
        l.detail.add(Item::field({c.x, 0, c.w, 5}, c.field))
            .align((c.right ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    l.summary.height = 10;
    l.summary.add(Item::line({0, 1, 190, 0}));
    l.summary.add(Item::label({100, 2, 40, 6}, u"Totali"_s)).bold();
    auto total = [](QStringView field) {
        return [field](const report::Context& c) {
            qint64 sum = 0;
            for (int i = 0; i < c.rowCount(); ++i)
                sum += (*c.rows)[i].value(field.toString()).toLongLong();
            return Money::fromCents(sum).format();
        };
    };
    l.summary.add(Item::expression({139, 2, 20, 6}, total(u"dare_cents")))
        .bold()
        .align(Qt::AlignRight | Qt::AlignVCenter);
    l.summary.add(Item::expression({160, 2, 20, 6}, total(u"avere_cents")))
        .bold()
        .align(Qt::AlignRight | Qt::AlignVCenter);
    l.pageFooter.height = 6;
    l.pageFooter
        .add(Item::expression(
            {150, 0, 40, 5},
            [](const report::Context& c) { return u"Pagina "_s + QString::number(c.page); }))
        .align(Qt::AlignRight | Qt::AlignVCenter);
    return l;
}

report::PageModel TQR_scad::render(const Settings& settings, const QList<Deadline>& list) {
    return report::render(layout(settings), rows(list));
}

}  // namespace zel
