#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <vector>

#include "settings/SettingsCatalogue.h"

namespace zel {

// The live settings: one typed value per catalogue key. Modules read them when they
// need a value; the setup dialog edits them and its confirm writes the files.
class IniFile;

class Settings {
public:
    explicit Settings(QString baseFolder);

    QString baseFolder() const { return m_base; }

    // Reads every file in loading order. A missing file or key gives the default;
    // a value that cannot be converted gives the default too and adds an
    // "Errore ..." line naming its file, section and key. Paths are written relative
    // to the base folder; an old absolute one that no longer exists but names a file
    // of this data folder is taken from there, told by loadNotes(). Returns the errors.
    QStringList load();
    QStringList loadNotes() const { return m_notes; }

    // The setup's confirm: writes the files in their writing order, each key from its
    // live value, leaving keys this program does not know where they were.
    bool save(QString* error = nullptr) const;
    // The first start: writes each file of the confirm that does not exist yet, with
    // every key, read-only ones included. All of them or none; false when writing failed.
    bool writeMissingFiles(QString* error = nullptr) const;
    bool mainFileExists() const;

    QVariant value(QStringView section, QStringView key) const;
    bool flag(QStringView section, QStringView key) const { return value(section, key).toBool(); }
    int integer(QStringView section, QStringView key) const { return value(section, key).toInt(); }
    double number(QStringView section, QStringView key) const { return value(section, key).toDouble(); }
    QString text(QStringView section, QStringView key) const { return value(section, key).toString(); }
    void setValue(QStringView section, QStringView key, const QVariant& v);

    // Catalogue index of a key (any file), or -1.
    int indexOf(QStringView section, QStringView key) const;
    const SettingDef& def(int index) const { return settingsCatalogue()[static_cast<size_t>(index)]; }
    QVariant valueAt(int index) const;
    void setValueAt(int index, const QVariant& v);
    // The default of a key as it would be computed now.
    QVariant defaultValue(const SettingDef& d) const;

    QString filePath(QStringView file) const;

    // Text form of a value as written to a file.
    static QString toFileText(const SettingDef& d, const QVariant& v);
    // Reversible keyed transform of the stored passwords.
    static QString scramble(const QString& plain);
    static QString unscramble(const QString& stored);

private:
    int shared(int index) const;
    bool fill(IniFile& ini, const QString& file, bool includeReadOnly, QString* error) const;
    bool writeFiles(const QStringList& files, bool includeReadOnly, QString* error) const;
    // toFileText, with paths inside the base folder written relative to it.
    QString fileText(const SettingDef& d, const QVariant& v) const;
    QString livePath(const QString& written, const SettingDef& d, QStringList* notes) const;

    QString m_base;
    std::vector<QVariant> m_values;
    QHash<QString, int> m_index;
    QStringList m_notes;
};

}  // namespace zel
