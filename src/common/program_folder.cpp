#include "common/program_folder.h"

ProgramFolder::ProgramFolder(const QString& executablePath) : m_executable(executablePath) {
    const qsizetype slash = executablePath.lastIndexOf(QLatin1Char('/'));
    m_appDir = executablePath.left(slash + 1);
}

QString ProgramFolder::withExtension(const QString& extension) const {
    const qsizetype slash = m_executable.lastIndexOf(QLatin1Char('/'));
    const qsizetype dot = m_executable.lastIndexOf(QLatin1Char('.'));
    if (dot > slash + 1)
        return m_executable.left(dot) + extension;
    return m_executable + extension;
}
