#include "settings/IniFile.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QStringDecoder>
#include <cerrno>
#include <memory>
#include <vector>

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

namespace {

// The cause of a failed write in words a user understands, the system's text after it.
QString writeCause(int err, const QString& systemText) {
    QString cause;
    switch (err) {
        case ENOSPC:
        case EFBIG:
        case EDQUOT: cause = QStringLiteral("disco pieno"); break;
        case EROFS:
        case EACCES:
        case EPERM: cause = QStringLiteral("cartella o file in sola lettura"); break;
        default: cause = QStringLiteral("errore di scrittura sul disco"); break;
    }
    return systemText.isEmpty() ? cause : cause + QStringLiteral(" (") + systemText + QLatin1Char(')');
}

// Opens the temporary file and writes the whole text; nothing is renamed yet.
std::unique_ptr<QSaveFile> writeTemporary(const QString& path, const QByteArray& bytes, QString* error) {
    auto f = std::make_unique<QSaveFile>(path);
    errno = 0;
    bool ok = f->open(QIODevice::WriteOnly);
    if (ok) ok = f->write(bytes) == bytes.size() && f->flush() && f->error() == QFileDevice::NoError;
    if (!ok) {
        const int err = errno;
        *error = QStringLiteral("impossibile scrivere %1: %2").arg(QFileInfo(path).fileName(), writeCause(err, f->errorString()));
        f->cancelWriting();
        return nullptr;
    }
    return f;
}

}  // namespace

bool IniFile::save() const {
    QString error;
    if (!saveAll({this}, &error)) {
        m_error = error;
        return false;
    }
    return true;
}

bool IniFile::saveAll(const QList<const IniFile*>& files, QString* error) {
    QString why;
    std::vector<std::unique_ptr<QSaveFile>> pending;
    for (const IniFile* ini : files) {
        pending.push_back(writeTemporary(ini->m_path, ini->toText().toUtf8(), &why));
        if (!pending.back()) {
            // The temporary files written so far are removed with their QSaveFile.
            if (error) *error = why;
            return false;
        }
    }
    // Every new text is on disk; now the renames, undone if one of them fails.
    struct Old {
        QString path;
        bool existed;
        QByteArray bytes;
    };
    std::vector<Old> committed;
    for (size_t i = 0; i < pending.size(); ++i) {
        const QString path = files[static_cast<qsizetype>(i)]->m_path;
        Old old{path, QFileInfo::exists(path), {}};
        if (old.existed) {
            QFile f(path);
            if (!f.open(QIODevice::ReadOnly)) {
                why = QStringLiteral("impossibile leggere %1: %2").arg(QFileInfo(path).fileName(), f.errorString());
                break;
            }
            old.bytes = f.readAll();
        }
        errno = 0;
        if (!pending[i]->commit()) {
            why = QStringLiteral("impossibile scrivere %1: %2")
                      .arg(QFileInfo(path).fileName(), writeCause(errno, pending[i]->errorString()));
            break;
        }
        committed.push_back(std::move(old));
        why.clear();
    }
    if (committed.size() == pending.size()) return true;
    for (size_t i = committed.size() + 1; i < pending.size(); ++i) pending[i]->cancelWriting();
    for (const Old& old : committed) {
        if (!old.existed) {
            QFile::remove(old.path);  // made by this save
            continue;
        }
        QString ignored;
        if (auto f = writeTemporary(old.path, old.bytes, &ignored)) f->commit();
    }
    if (error) *error = why;
    return false;
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
