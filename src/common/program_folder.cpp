#include "common/program_folder.h"

#include <QDir>
#include <QFileInfo>

namespace {

// A build or a copied program folder carries its translations and splash clip beside the
// executable; an installed executable has neither beside it in <prefix>/bin.
bool HoldsShippedContent(const QString& dir) {
    return QFileInfo(dir + QStringLiteral("Translation")).isDir() ||
           QFileInfo::exists(dir + QStringLiteral("Loading.avi"));
}

} // namespace

QString XdgDataHome() {
    const QString dataHome = qEnvironmentVariable("XDG_DATA_HOME");
    if (!dataHome.isEmpty() && QDir::isAbsolutePath(dataHome))
        return dataHome;
    return QDir::homePath() + QStringLiteral("/.local/share");
}

ProgramFolder::ProgramFolder(const QString& executablePath, const QString& dataHome)
    : m_executable(executablePath) {
    const qsizetype slash = executablePath.lastIndexOf(QLatin1Char('/'));
    const QString executableDir = executablePath.left(slash + 1);
    const QString shared = QDir::cleanPath(executableDir + QStringLiteral("../share/kelvara")) + u'/';

    if (HoldsShippedContent(executableDir) || !QFileInfo(shared).isDir()) {
        m_userDir = executableDir;
        m_contentDirs = {executableDir};
        const qsizetype dot = executablePath.lastIndexOf(QLatin1Char('.'));
        m_settingsStem = dot > slash + 1 ? executablePath.left(dot) : executablePath;
        return;
    }
    m_userDir = QDir::cleanPath(dataHome + QStringLiteral("/kelvara")) + u'/';
    m_contentDirs = {m_userDir, shared};
    m_settingsStem = m_userDir + QStringLiteral("Kelvara");
}

QStringList ProgramFolder::translationDirs() const {
    QStringList dirs;
    for (const QString& dir : m_contentDirs)
        dirs.append(dir + QStringLiteral("Translation/"));
    return dirs;
}

QString ProgramFolder::translationFile(const QString& fileName) const {
    return contentFile(QStringLiteral("Translation/") + fileName);
}

QString ProgramFolder::contentFile(const QString& relativePath) const {
    for (const QString& dir : m_contentDirs) {
        if (QFileInfo::exists(dir + relativePath))
            return dir + relativePath;
    }
    return m_contentDirs.last() + relativePath;
}
