#pragma once

#include <gtest/gtest.h>

#include <QByteArray>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QString>
#include <QThread>

// Whole-file reads and writes for tests that compare files byte for byte.
inline QByteArray ReadBytes(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

inline void WriteBytes(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

// Waits until the file exists and returns its bytes ("<missing>" after a minute without it). Only
// for files that their writer renames into place when they are complete: such a file is whole
// from the moment it exists, while one written in place may be read half-written.
inline QByteArray WaitForRenamedFile(const QString& path) {
    const QDeadlineTimer deadline(60000);
    while (!QFileInfo::exists(path) && !deadline.hasExpired()) {
        if (QCoreApplication::instance())
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(20);
    }
    return ReadBytes(path);
}
