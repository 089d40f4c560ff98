#include "update/open_download.h"

#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

namespace {

bool IsProgram(const QString& path) {
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && IsProgramFile(file.read(4));
}

} // namespace

bool IsProgramFile(QByteArrayView head) {
    return head.startsWith("\x7f"
                           "ELF") ||
           head.startsWith("#!");
}

void MakeProgramExecutable(const QString& path) {
    if (IsProgram(path))
        QFile::setPermissions(path, QFile::permissions(path) | QFileDevice::ExeOwner | QFileDevice::ExeUser);
}

bool OpenDownloadedFile(const QString& path) {
    if (IsProgram(path))
        return QProcess::startDetached(path, {}, QFileInfo(path).absolutePath());
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}
