#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <optional>

namespace zel {

// A Windows-style INI file. Sections and keys match without regard to letter case;
// spaces at the end of a section name belong to the name; the order of sections and
// keys, and every key this program does not know, survive a rewrite.
class IniFile {
public:
    IniFile() = default;
    explicit IniFile(QString path);

    // Reads the file; a missing file is an empty one. UTF-8, falling back to
    // Windows-1252 for files that are not valid UTF-8.
    bool load();
    // Writes through a temporary file renamed over the old one; on any failure the
    // old file stays whole and errorString() says why, in Italian.
    bool save() const;
    // Writes several files so that either all of them take their new text or all of
    // them keep their old one. On failure *error names the file and the cause.
    static bool saveAll(const QList<const IniFile*>& files, QString* error);
    QString errorString() const { return m_error; }

    QString path() const { return m_path; }
    bool fileExists() const;

    std::optional<QString> value(const QString& section, const QString& key) const;
    QString value(const QString& section, const QString& key, const QString& fallback) const;
    void setValue(const QString& section, const QString& key, const QString& value);
    bool contains(const QString& section, const QString& key) const;
    bool hasSection(const QString& section) const;
    void removeKey(const QString& section, const QString& key);

    QStringList sections() const;
    QStringList keys(const QString& section) const;

    QString toText() const;
    void parse(const QString& text);

    static QString decode(const QByteArray& bytes);

private:
    struct Line {
        QString key;  // empty for comments and blank lines
        QString value;
        QString raw;
    };
    struct Section {
        QString name;
        QList<Line> lines;
    };

    Section* findSection(const QString& name);
    const Section* findSection(const QString& name) const;

    QString m_path;
    QList<Line> m_preamble;
    QList<Section> m_sections;
    mutable QString m_error;
};

}  // namespace zel
