#include "settings/Settings.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <QStringDecoder>

#include "core/Clock.h"
#include "core/Paths.h"
#include "settings/IniFile.h"

namespace zel {

namespace {

QString indexKey(QStringView section, QStringView key) {
    return section.toString().toCaseFolded() + QChar(0x1f) + key.trimmed().toString().toCaseFolded();
}

constexpr char kScrambleKey[] = "Zelvarin-2026";

// Its own inverse, so one function both scrambles and unscrambles.
QByteArray xorWithKey(const QByteArray& bytes) {
    QByteArray out(bytes.size(), '\0');
    const qsizetype keyLen = sizeof(kScrambleKey) - 1;
    for (qsizetype i = 0; i < bytes.size(); ++i)
        out[i] = static_cast<char>(bytes[i] ^ kScrambleKey[i % keyLen] ^ static_cast<char>(i * 7));
    return out;
}

QString typeWord(SettingType t) {
    switch (t) {
        case SettingType::Int: return QStringLiteral("un numero intero");
        case SettingType::Number: return QStringLiteral("un numero");
        default: return QStringLiteral("un valore");
    }
}

}  // namespace

Settings::Settings(QString baseFolder) : m_base(std::move(baseFolder)) {
    const auto cat = settingsCatalogue();
    m_values.reserve(cat.size());
    for (size_t i = 0; i < cat.size(); ++i) {
        m_index.insert(indexKey(cat[i].section, cat[i].key), static_cast<int>(i));
        m_values.push_back(defaultValue(cat[i]));
    }
}

QString Settings::filePath(QStringView file) const { return QDir(m_base).filePath(file.toString()); }

bool Settings::mainFileExists() const {
    return QFileInfo::exists(filePath(QStringView(kMainSettingsFile)));
}

QVariant Settings::defaultValue(const SettingDef& d) const {
    const QString text = d.defaultValue.toString();
    switch (d.defaultKind) {
        case DefaultKind::DataPath: {
            QString file = text;
            file.replace(QStringLiteral("@YY@"), Clock::yearSuffix());
            return dataFile(m_base, file);
        }
        case DefaultKind::BaseFolder: return QDir(m_base).absolutePath() + QLatin1Char('/');
        case DefaultKind::Yesterday: return Clock::today().addDays(-1).toString(QStringLiteral("dd/MM/yyyy"));
        case DefaultKind::NowTime: return Clock::now().time().toString(QStringLiteral("HH:mm"));
        case DefaultKind::Literal: break;
    }
    switch (d.type) {
        case SettingType::Bool: return text.toInt() != 0;
        case SettingType::Int: return text.toInt();
        case SettingType::Number: return text.toDouble();
        case SettingType::Text: return text;
    }
    return text;
}

int Settings::indexOf(QStringView section, QStringView key) const {
    return m_index.value(indexKey(section, key), -1);
}

QVariant Settings::value(QStringView section, QStringView key) const {
    const int i = indexOf(section, key);
    Q_ASSERT_X(i >= 0, "Settings::value", "key not in the catalogue");
    return i >= 0 ? m_values[static_cast<size_t>(i)] : QVariant();
}

void Settings::setValue(QStringView section, QStringView key, const QVariant& v) {
    const int i = indexOf(section, key);
    Q_ASSERT_X(i >= 0, "Settings::setValue", "key not in the catalogue");
    if (i >= 0) setValueAt(i, v);
}

void Settings::setValueAt(int index, const QVariant& v) {
    const SettingDef& d = def(index);
    QVariant typed = v;
    switch (d.type) {
        case SettingType::Bool: typed = v.toBool(); break;
        case SettingType::Int: typed = v.toInt(); break;
        case SettingType::Number: typed = v.toDouble(); break;
        case SettingType::Text: typed = v.toString(); break;
    }
    m_values[static_cast<size_t>(index)] = typed;
}

QStringList Settings::load() {
    QStringList errors;
    const auto cat = settingsCatalogue();
    for (const QString& file : settingsLoadOrder()) {
        IniFile ini(filePath(file));
        if (!ini.load()) {
            errors << QStringLiteral("Errore nella lettura di %1: %2").arg(file, ini.errorString());
            continue;
        }
        for (size_t i = 0; i < cat.size(); ++i) {
            const SettingDef& d = cat[i];
            if (d.file != file || d.access == Access::WriteOnly) continue;
            const std::optional<QString> stored = ini.value(d.section.toString(), d.key.toString());
            QVariant v = defaultValue(d);
            if (stored) {
                const QString s = stored->trimmed();
                bool ok = true;
                switch (d.type) {
                    case SettingType::Bool: {
                        // Any number but 0 is on; words such as "SI" are off.
                        const long long n = s.toLongLong(&ok);
                        if (!s.isEmpty()) v = ok && n != 0;
                        ok = true;
                        break;
                    }
                    case SettingType::Int:
                        if (!s.isEmpty()) {
                            const int n = s.toInt(&ok);
                            if (ok) v = n;
                        }
                        break;
                    case SettingType::Number:
                        if (!s.isEmpty()) {
                            QString t = s;
                            t.replace(QLatin1Char(','), QLatin1Char('.'));
                            const double n = t.toDouble(&ok);
                            if (ok) v = n;
                        }
                        break;
                    case SettingType::Text: v = d.scrambled ? unscramble(*stored) : *stored; break;
                }
                if (!ok)
                    errors << QStringLiteral(
                                  "Errore nel file %1, sezione [%2] chiave \"%3\": \"%4\" non è %5. "
                                  "Usato il valore predefinito.")
                                  .arg(file, d.section.toString(), d.key.toString(), s, typeWord(d.type));
            }
            m_values[i] = v;
        }
    }
    return errors;
}

QString Settings::toFileText(const SettingDef& d, const QVariant& v) {
    switch (d.type) {
        case SettingType::Bool: return v.toBool() ? QStringLiteral("1") : QStringLiteral("0");
        case SettingType::Int: return QString::number(v.toInt());
        case SettingType::Number: return QString::number(v.toDouble(), 'g', 15);
        case SettingType::Text: return d.scrambled ? scramble(v.toString()) : v.toString();
    }
    return v.toString();
}

bool Settings::writeFile(const QString& file, bool includeReadOnly, QString* error) const {
    IniFile ini(filePath(file));
    if (!ini.load()) {
        if (error) *error = ini.errorString();
        return false;
    }
    const auto cat = settingsCatalogue();
    for (size_t i = 0; i < cat.size(); ++i) {
        const SettingDef& d = cat[i];
        if (d.file != file || (d.access == Access::ReadOnly && !includeReadOnly)) continue;
        QVariant v = m_values[i];
        if (!d.valueFrom.isEmpty()) {
            const qsizetype bar = d.valueFrom.indexOf(u'|');
            const int src = indexOf(d.valueFrom.left(bar), d.valueFrom.mid(bar + 1));
            if (src >= 0) v = m_values[static_cast<size_t>(src)];
        }
        ini.setValue(d.section.toString(), d.key.toString(), toFileText(d, v));
    }
    if (!ini.save()) {
        if (error) *error = QStringLiteral("%1: %2").arg(file, ini.errorString());
        return false;
    }
    return true;
}

bool Settings::save(QString* error) const {
    for (const QString& file : settingsWriteOrder())
        if (!writeFile(file, false, error)) return false;
    return true;
}

bool Settings::writeMainFileIfMissing(QString* error) const {
    if (mainFileExists()) return true;
    return writeFile(QString::fromUtf16(kMainSettingsFile), true, error);
}

QString Settings::scramble(const QString& plain) {
    return QString::fromLatin1(xorWithKey(plain.toUtf8()).toHex().toUpper());
}

QString Settings::unscramble(const QString& stored) {
    const QString s = stored.trimmed();
    static const QRegularExpression hex(QStringLiteral("^(?:[0-9A-F]{2})*$"));
    if (s.isEmpty() || !hex.match(s).hasMatch()) return stored;  // written by hand in clear
    const QByteArray out = xorWithKey(QByteArray::fromHex(s.toLatin1()));
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8.decode(out);
    return utf8.hasError() ? stored : text;
}

}  // namespace zel
