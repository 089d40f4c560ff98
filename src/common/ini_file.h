#pragma once

#include <QByteArrayView>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

// An INI file with the rules of the Windows profile functions: section and key names match
// without regard to letter case, blanks around names and values are dropped, writing a key
// replaces its line, a new key goes to the end of its section and a new section to the end of
// the file. Reading never creates the file. Files are read as UTF-8, or as Windows-1252 when they
// are not valid UTF-8, and written as UTF-8. When a section or key appears twice, the first one
// counts. Comment lines (";"), lines outside any section and other lines that hold no key are
// kept as they are.
//
// The file is read once, when the object is made; writes change the in-memory copy and save()
// replaces the file on disk in one step (a temporary file in the same folder renamed over the old
// one), so the file on disk is always either the old or the new one, whole.
class IniFile {
public:
    // Which integer forms readInteger accepts besides decimal.
    enum class IntegerForms { Decimal, DecimalOrHex };

    // Only the first MaxFileSize bytes of a file are read (cut at the last line break within
    // them); the rest counts as absent. Real settings, skin and translation files are far smaller.
    static constexpr qsizetype MaxFileSize = 1024 * 1024;

    // Reads the file at path; a missing or unreadable file gives an empty one.
    explicit IniFile(QString path);
    // Parses data as the content of the file at path, without touching the disk.
    static IniFile fromData(QString path, QByteArrayView data);

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

    // Changes the in-memory copy only. A section name holding "]", a key name holding "=" or
    // starting with ";" or "[", an empty name, or a line break anywhere would change the file's
    // structure: these raise Error("Unable to write to " + path) and change nothing.
    void writeString(const QString& section, const QString& key, const QString& value);
    // Writes the whole file; raises Error("Unable to write to " + path) on failure, leaving the
    // old file intact. A file that could not be read whole (past MaxFileSize, or there but not
    // readable) is never written over, since the part not read would be lost.
    void save();

    // The text the file would be saved as.
    QByteArray serialize() const;

private:
    IniFile() = default;
    void parse(QByteArrayView data);

    // One line of a section. For a key line, separator is the position of the first "=";
    // otherwise it is -1.
    struct Line {
        QString text;
        qsizetype separator = -1;

        QString keyName() const;
        QString value() const;
    };
    struct Section {
        QString header; // the "[name]" line as read
        QString name;
        QList<Line> lines;
        QHash<QString, qsizetype> keyIndex; // folded key name -> its first line
    };

    const Section* findSection(const QString& name) const;
    const Line* findKey(const QString& section, const QString& key) const;
    void addSection(QString header, QString name);
    void addLine(QString text);

    QString m_path;
    bool m_complete = true;                     // the whole file was read
    QString m_lineBreak = QStringLiteral("\n"); // that of the file read, kept on rewrite
    QStringList m_preamble;                     // lines before the first section
    QList<Section> m_sections;
    QHash<QString, qsizetype> m_sectionIndex; // folded section name -> its first section
};

// Reads an integer the way the settings and skin readers do: an optional sign and decimal digits,
// or (with hex allowed) "0x", "0X" or "$" followed by hexadecimal digits, surrounding blanks
// dropped. The whole text must be used and the value must fit in 32 bits (hexadecimal values up
// to FFFFFFFF give that bit pattern, so $FFFFFFFF is -1).
bool ParseIniInteger(const QString& text, IniFile::IntegerForms forms, qint32* value);
