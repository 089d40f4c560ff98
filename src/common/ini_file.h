#pragma once

#include <QString>
#include <QStringList>

// An INI file with the rules of the Windows profile functions: section and key names match
// without regard to letter case, blanks around names and values are dropped, writing a key
// replaces its line, a new key goes to the end of its section and a new section to the end of
// the file. Reading never creates the file. Files are read as UTF-8, or as Windows-1252 when they
// are not valid UTF-8, and written as UTF-8.
//
// The file is read once, when the object is made; writes change the in-memory copy and save()
// replaces the file on disk in one step (a temporary file in the same folder renamed over the old
// one), so the file on disk is always either the old or the new one, whole.
class IniFile {
public:
    // Which integer forms readInteger accepts besides decimal.
    enum class IntegerForms { Decimal, DecimalOrHex };

    explicit IniFile(QString path);

    const QString& path() const { return m_path; }

    bool hasKey(const QString& section, const QString& key) const;
    // The value of the key with surrounding blanks dropped; an empty value stays empty, a missing
    // key gives the default.
    QString readString(const QString& section, const QString& key, const QString& defaultValue) const;
    // A missing key, an empty value or one that is not a whole 32-bit integer gives the default.
    // DecimalOrHex also accepts "0x", "0X" and "$" prefixes (as skin.ini uses them).
    qint32 readInteger(const QString& section, const QString& key, qint32 defaultValue,
                       IntegerForms forms = IntegerForms::Decimal) const;
    // Section names and the key names of one section, in file order.
    QStringList sectionNames() const;
    QStringList keyNames(const QString& section) const;

    // Changes the in-memory copy only.
    void writeString(const QString& section, const QString& key, const QString& value);
    // Writes the whole file; raises Error("Unable to write to " + path) on failure, leaving the
    // old file intact.
    void save();

    // The text the file would be saved as.
    QByteArray serialize() const;

private:
    QString m_path;
    QList<QString> m_lines; // the file's lines, kept as read so that a rewrite keeps everything else
};

// Reads an integer the way the settings and skin readers do: an optional sign and decimal digits,
// or (with hex allowed) "0x", "0X" or "$" followed by hexadecimal digits. The whole text must be
// used and the value must fit in 32 bits.
bool ParseIniInteger(const QString& text, IniFile::IntegerForms forms, qint32* value);
