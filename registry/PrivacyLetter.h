#pragma once

#include <QDate>
#include <QString>

#include "report/Layout.h"
#include "report/PageModel.h"

namespace zel {

class Settings;

// The letter asking a new partner's consent to the handling of personal data.
class Tqr_privacy1 {
public:
    struct Addressee {
        QString name;
        QString address;   // street line
        QString cityLine;  // "CAP city (prov)"
    };
    static QString cityLine(const QString& cap, const QString& city, const QString& prov);

    Tqr_privacy1(const Settings& settings, Addressee to, QDate date);
    report::Layout layout() const;
    report::PageModel render() const;

private:
    const Settings& m_settings;
    Addressee m_to;
    QDate m_date;
};

}  // namespace zel
