#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>

namespace zel {

namespace {

bool sameName(const QString& a, const QString& b) {
    return a.compare(b, Qt::CaseInsensitive) == 0 || a.toCaseFolded() == b.toCaseFolded();
}

// Keys are compared without their surrounding blanks, as the Windows profile
// functions do; sections keep trailing blanks.
bool sameKey(const QString& a, const QString& b) { return sameName(a.trimmed(), b.trimmed()); }

// Windows-1252 differs from Latin-1 only in 0x80..0x9F.
constexpr char16_t kCp1252High[32] = {
    0x20AC, 0xFFFD, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0xFFFD, 0x017D, 0xFFFD, 0xFFFD, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0xFFFD, 0x017E, 0x0178};

}  // namespace

IniFile::IniFile(QString path) : m_path(std::move(path)) {}

bool IniFile::fileExists() const { return QFileInfo::exists(m_path); }

QString IniFile::decode(const QByteArray& bytes) {
    QByteArray data = bytes;
    if (data.startsWith("\xEF\xBB\xBF")) data.remove(0, 3);
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(data);
    if (!utf8.hasError()) return text;
    text.clear();
    text.reserve(data.size());
    for (const char c : data) {
        const auto b = static_cast<unsigned char>(c);
        text.append(b >= 0x80 && b < 0xA0 ? QChar(kCp1252High[b - 0x80]) : QChar(char16_t(b)));
    }
    return text;
}

bool IniFile::load() {
    m_preamble.clear();
    m_sections.clear();
    QFile f(m_path);
    if (!f.exists()) return true;
    if (!f.open(QIODevice::ReadOnly)) {
        m_error = f.errorString();
        return false;
    }
    parse(decode(f.readAll()));
    return true;
}

void IniFile::parse(const QString& text) {
    m_preamble.clear();
    m_sections.clear();
    QString normalized = text;
    normalized.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    normalized.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    const QStringList lines = normalized.split(QLatin1Char('\n'));
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const QString& raw = lines[i];
        if (i == lines.size() - 1 && raw.isEmpty()) break;  // final newline
        const QString trimmed = raw.trimmed();
        QList<Line>& target = m_sections.isEmpty() ? m_preamble : m_sections.last().lines;
        if (raw.trimmed().startsWith(QLatin1Char('[')) && trimmed.contains(QLatin1Char(']'))) {
            const QString lead = raw.mid(raw.indexOf(QLatin1Char('[')) + 1);
            m_sections.append({lead.left(lead.lastIndexOf(QLatin1Char(']'))), {}});
            continue;
        }
        const qsizetype eq = raw.indexOf(QLatin1Char('='));
        if (eq <= 0 || trimmed.startsWith(QLatin1Char(';')) || trimmed.startsWith(QLatin1Char('#'))) {
            target.append({QString(), QString(), raw});
            continue;
        }
        QString key = raw.left(eq);
        while (key.startsWith(QLatin1Char(' ')) || key.startsWith(QLatin1Char('\t'))) key.remove(0, 1);
        target.append({key, raw.mid(eq + 1).trimmed(), raw});
    }
}

QString IniFile::toText() const {
    QString out;
    auto writeLines = [&out](const QList<Line>& lines) {
        for (const Line& l : lines) {
            out += l.key.isEmpty() ? l.raw : l.key + QLatin1Char('=') + l.value;
            out += QLatin1Char('\n');
        }
    };
    writeLines(m_preamble);
    for (const Section& s : m_sections) {
        out += QLatin1Char('[') + s.name + QStringLiteral("]\n");
        writeLines(s.lines);
    }
    return out;
}

bool IniFile::save() const {
    QSaveFile f(m_path);
    if (!f.open(QIODevice::WriteOnly)) {
        m_error = f.errorString();
        return false;
    }
    f.write(toText().toUtf8());
    if (!f.commit()) {
        m_error = f.errorString();
        return false;
    }
    return true;
}

IniFile::Section* IniFile::findSection(const QString& name) {
    for (Section& s : m_sections)
        if (sameName(s.name, name)) return &s;
    return nullptr;
}

const IniFile::Section* IniFile::findSection(const QString& name) const {
    for (const Section& s : m_sections)
        if (sameName(s.name, name)) return &s;
    return nullptr;
}

std::optional<QString> IniFile::value(const QString& section, const QString& key) const {
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (!l.key.isEmpty() && sameKey(l.key, key)) return l.value;
    return std::nullopt;
}

QString IniFile::value(const QString& section, const QString& key, const QString& fallback) const {
    return value(section, key).value_or(fallback);
}

bool IniFile::contains(const QString& section, const QString& key) const {
    return value(section, key).has_value();
}

bool IniFile::hasSection(const QString& section) const { return findSection(section) != nullptr; }

void IniFile::setValue(const QString& section, const QString& key, const QString& value) {
    Section* s = findSection(section);
    if (!s) {
        m_sections.append({section, {}});
        s = &m_sections.last();
    }
    for (Line& l : s->lines) {
        if (!l.key.isEmpty() && sameKey(l.key, key)) {
            l.value = value;
            return;
        }
    }
    // New keys go after the section's last key, before trailing blank lines.
    qsizetype at = s->lines.size();
    while (at > 0 && s->lines[at - 1].key.isEmpty() && s->lines[at - 1].raw.trimmed().isEmpty()) --at;
    s->lines.insert(at, {key, value, QString()});
}

void IniFile::removeKey(const QString& section, const QString& key) {
    if (Section* s = findSection(section))
        s->lines.removeIf([&](const Line& l) { return !l.key.isEmpty() && sameKey(l.key, key); });
}

QStringList IniFile::sections() const {
    QStringList out;
    for (const Section& s : m_sections) out << s.name;
    return out;
}

QStringList IniFile::keys(const QString& section) const {
    QStringList out;
    if (const Section* s = findSection(section))
        for (const Line& l : s->lines)
            if (!l.key.isEmpty()) out << l.key;
    return out;
}

}  // namespace zel
