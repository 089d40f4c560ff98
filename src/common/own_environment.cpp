#include "common/own_environment.h"

namespace {

QStringList& Names() {
    static QStringList names;
    return names;
}

} // namespace

void SetOwnEnvironmentVariable(const char* name, const QByteArray& value) {
    qputenv(name, value);
    const QString text = QString::fromLatin1(name);
    if (!Names().contains(text))
        Names().append(text);
}

QStringList OwnEnvironmentVariables() {
    return Names();
}

QProcessEnvironment EnvironmentForPrograms() {
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString& name : Names())
        environment.remove(name);
    return environment;
}
