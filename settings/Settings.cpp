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
        case SettingType::Bool: return QStringLiteral("1 o 0");
        default: return QStringLiteral("un valore");
    }
}

// Keys that hold a file or folder of the program.
bool isPathKey(const SettingDef& d) {
    return d.type == SettingType::Text &&
           (d.defaultKind == DefaultKind::DataPath || d.defaultKind == DefaultKind::BaseFolder);
}

bool isAbsolute(const QString& written) {
    static const QRegularExpression drive(QStringLiteral("^[A-Za-z]:"));
    return written.startsWith(u'/') || written.startsWith(u'\\') || drive.match(written).hasMatch();
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
    return i >= 0 ? valueAt(i) : QVariant();
}

void Settings::setValue(QStringView section, QStringView key, const QVariant& v) {
    const int i = indexOf(section, key);
    Q_ASSERT_X(i >= 0, "Settings::setValue", "key not in the catalogue");
    if (i >= 0) setValueAt(i, v);
}

int Settings::shared(int index) const {
    // A key read and written through another key's control has that key's value.
    const SettingDef& d = def(index);
    if (d.valueFrom.isEmpty() || d.access == Access::WriteOnly) return index;
    const qsizetype bar = d.valueFrom.indexOf(u'|');
    const int src = indexOf(d.valueFrom.left(bar), d.valueFrom.mid(bar + 1));
    return src >= 0 ? src : index;
}

QVariant Settings::valueAt(int index) const { return m_values[static_cast<size_t>(shared(index))]; }

void Settings::setValueAt(int index, const QVariant& v) {
    index = shared(index);
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

QString Settings::livePath(const QString& written, const SettingDef& d, QStringList* notes) const {
    const QString text = written.trimmed();
    if (text.isEmpty()) return written;
    if (!isAbsolute(text)) {
        QString rel = text;
        rel.replace(u'\\', u'/');
        if (rel == u"./" || rel == u".") return QDir(m_base).absolutePath() + u'/';
        return QDir::cleanPath(QDir(m_base).absoluteFilePath(rel));
    }
    // A base folder moved or copied with the paths of its old place: a file of the old
    // data folder that no longer exists is the same file of this one.
    const QString resolved = resolvePath(text);
    if (d.defaultKind != DefaultKind::DataPath || QFileInfo::exists(resolved)) return written;
    QString slashed = text;
    slashed.replace(u'\\', u'/');
    const QStringList parts = slashed.split(u'/', Qt::SkipEmptyParts);
    if (parts.size() < 2 || parts[parts.size() - 2].compare(QString::fromUtf16(kDataFolder), Qt::CaseInsensitive) != 0)
        return written;
    const QString here = dataFile(m_base, parts.last());
    if (!QFileInfo::exists(here)) return written;
    if (notes)
        *notes << QStringLiteral("[%1] %2: %3 non esiste, usato %4")
                      .arg(d.section.toString(), d.key.toString(), text, QDir::toNativeSeparators(here));
    return here;
}

QString Settings::fileText(const SettingDef& d, const QVariant& v) const {
    const QString text = toFileText(d, v);
    if (!isPathKey(d) || !isAbsolute(text.trimmed())) return text;
    const QString base = QDir(m_base).absolutePath();
    const QString abs = QDir::cleanPath(text.trimmed());
    if (abs == base) return QStringLiteral("./");
    if (!abs.startsWith(base + u'/')) return text;
    const QString rel = abs.mid(base.size() + 1);
    return text.trimmed().endsWith(u'/') ? rel + u'/' : rel;
}

QStringList Settings::load() {
    QStringList errors;
    QStringList notes;
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
                    case SettingType::Bool:
                        // Any number but 0 is on; anything else is reported and gives the default.
                        if (!s.isEmpty()) {
                            const long long n = s.toLongLong(&ok);
                            if (ok) v = n != 0;
                        }
                        break;
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
                    case SettingType::Text:
                        v = d.scrambled ? unscramble(*stored) : *stored;
                        if (isPathKey(d)) v = livePath(*stored, d, &notes);
                        break;
                }
                if (!ok)
                    errors << QStringLiteral(
                                  "Errore nel file %1, sezione [%2] chiave \"%3\": \"%4\" non è %5. "
                                  "Usato il valore predefinito.")
                                  .arg(file, d.section.toString(), d.key.toString(), s, typeWord(d.type));
            }
            m_values[i] = v;
            // The control both keys share shows the one read last.
            if (stored && shared(int(i)) != int(i)) m_values[static_cast<size_t>(shared(int(i)))] = v;
        }
    }
    m_notes = notes;
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

bool Settings::fill(IniFile& ini, const QString& file, bool includeReadOnly, QString* error) const {
    if (!ini.load()) {
        if (error) *error = QStringLiteral("impossibile leggere %1: %2").arg(file, ini.errorString());
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
        ini.setValue(d.section.toString(), d.key.toString(), fileText(d, v));
    }
    return true;
}

bool Settings::writeFiles(const QStringList& files, bool includeReadOnly, QString* error) const {
    std::vector<IniFile> inis;
    inis.reserve(static_cast<size_t>(files.size()));
    QList<const IniFile*> all;
    for (const QString& file : files) {
        inis.emplace_back(filePath(file));
        if (!fill(inis.back(), file, includeReadOnly, error)) return false;
    }
    for (const IniFile& ini : inis) all << &ini;
    return IniFile::saveAll(all, error);
}

bool Settings::save(QString* error) const { return writeFiles(settingsWriteOrder(), false, error); }

bool Settings::writeMissingFiles(QString* error) const {
    QStringList missing;
    for (const QString& file : settingsWriteOrder())
        if (!QFileInfo::exists(filePath(file))) missing << file;
    return missing.isEmpty() || writeFiles(missing, true, error);
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
