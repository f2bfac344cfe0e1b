#include "settings/SettingsCatalogue.h"

namespace zel {

namespace {
constexpr SettingDef kCatalogue[] = {
#include "settings/SettingsCatalogueData.inc"
};
}  // namespace

std::span<const SettingDef> settingsCatalogue() { return kCatalogue; }

QStringList settingsLoadOrder() {
    return {QStringLiteral("zel_alert.ini"),      QStringLiteral("zel_banca.ini"),
            QStringLiteral("zel_sound.ini"),      QStringLiteral("setup_avanzato.ini"),
            QStringLiteral("zel_reparti.ini"),    QStringLiteral("zelvarin.ini"),
            QStringLiteral("zel_sfondi.ini"),     QStringLiteral("zel_fatt_email.ini"),
            QStringLiteral("partner.ini")};
}

QStringList settingsWriteOrder() {
    return {QStringLiteral("zel_banca.ini"),   QStringLiteral("zel_sound.ini"),
            QStringLiteral("setup_avanzato.ini"), QStringLiteral("zel_reparti.ini"),
            QStringLiteral("zelvarin.ini"),    QStringLiteral("zel_fatt_email.ini")};
}

}  // namespace zel
