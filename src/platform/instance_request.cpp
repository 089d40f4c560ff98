#include "platform/instance_request.h"

#include <array>
#include <utility>

#include <QJsonArray>
#include <QJsonDocument>

namespace {

constexpr std::array<std::pair<InstanceRequest::Action, const char*>, 6> ActionNames{{
    {InstanceRequest::Action::Activate, "activate"},
    {InstanceRequest::Action::Open, "open"},
    {InstanceRequest::Action::Settings, "settings"},
    {InstanceRequest::Action::AddApplications, "add-applications"},
    {InstanceRequest::Action::Refresh, "refresh"},
    {InstanceRequest::Action::Quit, "quit"},
}};

} // namespace

QString ActionName(InstanceRequest::Action action) {
    for (const auto& [value, name] : ActionNames) {
        if (value == action)
            return QString::fromLatin1(name);
    }
    return QString();
}

bool ActionFromName(const QString& name, InstanceRequest::Action* action) {
    for (const auto& [value, known] : ActionNames) {
        if (name == QLatin1String(known)) {
            *action = value;
            return true;
        }
    }
    return false;
}

QByteArray EncodeRequest(const InstanceRequest& request) {
    // A JSON array on one line: the tab name may hold any character, line breaks included.
    const QJsonArray fields{ActionName(request.action), request.tab, qint64(request.timestamp)};
    return QJsonDocument(fields).toJson(QJsonDocument::Compact) + '\n';
}

bool DecodeRequest(const QByteArray& line, InstanceRequest* request) {
    const QJsonDocument document = QJsonDocument::fromJson(line.trimmed());
    const QJsonArray fields = document.array();
    if (fields.size() != 3 || !fields[0].isString() || !fields[1].isString() || !fields[2].isDouble())
        return false;
    InstanceRequest decoded;
    if (!ActionFromName(fields[0].toString(), &decoded.action))
        return false;
    decoded.tab = fields[1].toString();
    const qint64 time = fields[2].toInteger(-1);
    if (time < 0 || time > 0xFFFFFFFFLL)
        return false;
    decoded.timestamp = quint32(time);
    *request = decoded;
    return true;
}

quint32 StartupIdTime(const QString& startupId) {
    const qsizetype at = startupId.lastIndexOf(QLatin1String("_TIME"));
    if (at < 0)
        return 0;
    bool ok = false;
    const qulonglong time = startupId.mid(at + 5).toULongLong(&ok);
    return ok && time <= 0xFFFFFFFFULL ? quint32(time) : 0;
}
