#include "warehouse/MovementListLayout.h"

#include <memory>

#include "core/Clock.h"
#include "ui/Formats.h"

namespace zel {

report::Layout movementListLayout(const QString& name, const QString& title,
                                  const QString& subtitle,
                                  const QList<MovementListColumn>& columns) {
    using report::Item;
    report::Layout l;
    l.name = name;
    const double w = l.contentWidth();
    l.title.height = subtitle.isEmpty() ? 12 : 17;
    l.title.add(Item::label({0, 0, w, 8}, title).withPointSize(14).bold().align(Qt::AlignCenter));
    if (!subtitle.isEmpty())
        l.title.add(Item::label({0, 9, w, 6}, subtitle).withPointSize(9).align(Qt::AlignCenter));

    l.columnHeader.height = 6;
    l.detail.height = 5;
    l.summary.height = 8;
    double x = 0;
    bool anyTotal = false;
    for (const MovementListColumn& c : columns) {
        const Qt::Alignment a = c.format.isEmpty() ? Qt::AlignLeft | Qt::AlignVCenter
                                                   : Qt::AlignRight | Qt::AlignVCenter;
        l.columnHeader.add(
            Item::label({x, 0, c.width - 1, 5}, c.caption).bold().withPointSize(8).align(a));
        if (c.field.compare(u"data", Qt::CaseInsensitive) == 0 ||
            c.field.compare(u"dataord", Qt::CaseInsensitive) == 0)
            l.detail.add(
                Item::expression({x, 0, c.width - 1, 5}, [f = c.field](const report::Context& ctx) {
                    return fmt::date(QDate::fromString(ctx.text(f), Qt::ISODate));
                }).withPointSize(8));
        else
            l.detail.add(
                Item::field({x, 0, c.width - 1, 5}, c.field, c.format).withPointSize(8).align(a));
        if (c.total) {
            anyTotal = true;
            l.summary.add(Item::expression(
                              {x, 2, c.width - 1, 5},
                              [f = c.field, p = c.format](const report::Context& ctx) {
                                  double sum = 0;
                                  if (ctx.rows)
                                      for (const report::Row& r : *ctx.rows)
                                          for (auto it = r.constBegin(); it != r.constEnd(); ++it)
                                              if (it.key().compare(f, Qt::CaseInsensitive) == 0)
                                                  sum += it.value().toDouble();
                                  return fmt::number(sum, p);
                              })
                              .bold()
                              .withPointSize(8)
                              .align(Qt::AlignRight | Qt::AlignVCenter));
        }
        x += c.width;
    }
    l.columnHeader.add(Item::line({0, 5.5, w, 0}));
    if (anyTotal) {
        l.summary.add(Item::line({0, 1, w, 0}));
        l.summary.add(Item::label({0, 2, 30, 5}, QStringLiteral("Totali")).bold().withPointSize(8));
    }
    l.pageFooter.height = 6;
    const QString printed = fmt::date(Clock::today());
    l.pageFooter.add(
        Item::label({0, 1, w / 2, 5}, QStringLiteral("Stampato il ") + printed).withPointSize(7));
    l.pageFooter.add(Item::expression({w / 2, 1, w / 2, 5},
                                      [](const report::Context& ctx) {
                                          return QStringLiteral("Pagina %1").arg(ctx.page);
                                      })
                         .withPointSize(7)
                         .align(Qt::AlignRight | Qt::AlignVCenter));
    return l;
}

}  // namespace zel
