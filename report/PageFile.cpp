#include "report/PageFile.h"

#include <QDataStream>
#include <QFile>
#include <QSaveFile>

namespace zel::report {

namespace {

constexpr quint32 kMagic = 0x5a515250;  // "ZQRP"
constexpr quint32 kVersion = 1;

}  // namespace

bool savePageFile(const PageModel& model, const QString& path, QString* error) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) {
        if (error) *error = f.errorString();
        return false;
    }
    QDataStream out(&f);
    out.setVersion(QDataStream::Qt_6_4);
    out << kMagic << kVersion << model.title << model.pageSize << quint32(model.pages.size());
    for (const Page& p : model.pages) {
        out << quint32(p.items.size());
        for (const PageItem& i : p.items) {
            out << qint32(i.kind) << i.rect << i.text << i.font << qint32(i.alignment.toInt()) << i.color << i.fill
                << i.penWidth << i.image;
        }
    }
    if (out.status() != QDataStream::Ok || !f.commit()) {
        if (error) *error = f.errorString();
        return false;
    }
    return true;
}

std::optional<PageModel> loadPageFile(const QString& path, QString* error) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        if (error) *error = f.errorString();
        return std::nullopt;
    }
    QDataStream in(&f);
    in.setVersion(QDataStream::Qt_6_4);
    quint32 magic = 0, version = 0, pages = 0;
    PageModel m;
    in >> magic >> version >> m.title >> m.pageSize >> pages;
    const auto bad = [&]() -> std::optional<PageModel> {
        if (error) *error = QStringLiteral("Il file %1 non è una stampa salvata").arg(path);
        return std::nullopt;
    };
    if (in.status() != QDataStream::Ok || magic != kMagic || version != kVersion) return bad();
    for (quint32 p = 0; p < pages && in.status() == QDataStream::Ok; ++p) {
        quint32 items = 0;
        in >> items;
        Page page;
        for (quint32 k = 0; k < items && in.status() == QDataStream::Ok; ++k) {
            PageItem i;
            qint32 kind = 0, align = 0;
            in >> kind >> i.rect >> i.text >> i.font >> align >> i.color >> i.fill >> i.penWidth >> i.image;
            if (kind < 0 || kind > qint32(PageItem::Kind::Image)) return bad();
            i.kind = PageItem::Kind(kind);
            i.alignment = Qt::Alignment::fromInt(align);
            page.items.push_back(std::move(i));
        }
        m.pages.push_back(std::move(page));
    }
    if (in.status() != QDataStream::Ok) return bad();
    return m;
}

}  // namespace zel::report
