#pragma once

#include <QByteArrayView>
#include <QIODevice>
#include <QString>

#include "common/user_text.h"

// A file written anew beside the one it replaces: the bytes go to a temporary file in the same
// folder, which commit() renames over the path, so a reader finds the old or the new file whole,
// never part of one. Unlike QSaveFile it never writes through a symbolic link: a path that is a
// link is left alone, and so is the file the link points to (a link in the program folder may
// point anywhere, and rewriting an order file must not empty the user's file behind it).
// Writes are unbuffered: a write the disk cuts short fails at once and the old file stays.
class ReplacingFile : public QIODevice {
public:
    // temporaryTag ends the temporary file's name (path + "." + six random letters + tag), so that
    // one left behind by a crash can be told from the user's files.
    explicit ReplacingFile(QString path, QString temporaryTag = {});
    ~ReplacingFile() override;

    const QString& path() const { return m_path; }
    // Only QIODevice::WriteOnly is offered. Fails when the path is a symbolic link or the temporary
    // file cannot be made.
    bool open(OpenMode mode) override;
    // Puts the new file in place. Fails, leaving the old file, after any failed write, or when the
    // path has become a symbolic link meanwhile.
    bool commit();
    // Gives up: the temporary file goes and the old file stays.
    void cancelWriting();
    // The last failure was the path being a symbolic link.
    bool refusedLink() const { return m_refusedLink; }

    bool isSequential() const override { return true; }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char* data, qint64 size) override;

private:
    void discard();
    bool failLink();

    QString m_path;
    QString m_temporaryTag;
    QString m_temporary;
    int m_fd = -1;
    bool m_failed = false;
    bool m_refusedLink = false;
};

// Replaces the file at path by one holding bytes, as ReplacingFile does. Returns whether it was
// written; *refusedLink tells whether the path was a symbolic link, and *reason why it was not
// written (left alone when it was).
bool ReplaceFileContents(const QString& path, QByteArrayView bytes, bool* refusedLink = nullptr,
                         QString* reason = nullptr);

// The writer's message for a failed write, with the reason added when the file was a link.
UserText WriteFailureMessage(const UserText& message, bool refusedLink);

// "Unable to write to <path>", the message for a file that cannot be written.
UserText UnableToWrite(const QString& path);

// Why a symbolic link is not written through.
UserText LinkRefusal();

// A message with its reason after it.
UserText WithReason(const UserText& message, const UserText& reason);
