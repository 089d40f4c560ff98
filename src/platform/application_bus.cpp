#include "platform/application_bus.h"

#include <QDBusArgument>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QUrl>

#include "translation/ui_text.h"

namespace {

// A variant of a bus call's parameter as it arrives: a QDBusVariant around the value.
QVariant Unwrapped(const QVariant& value) {
    if (value.canConvert<QDBusVariant>() && value.userType() == qMetaTypeId<QDBusVariant>())
        return value.value<QDBusVariant>().variant();
    return value;
}

} // namespace

quint32 ApplicationBus::PlatformTime(const QVariantMap& platformData) {
    return StartupIdTime(Unwrapped(platformData.value(QStringLiteral("desktop-startup-id"))).toString());
}

bool ApplicationBus::ActionRequest(const QString& name, const QVariantList& parameter,
                                   const QVariantMap& platformData, InstanceRequest* request) {
    InstanceRequest made;
    if (!ActionFromName(name, &made.action) || made.action == InstanceRequest::Action::Activate)
        return false;
    if (parameter.size() > 1)
        return false;
    if (!parameter.isEmpty()) {
        const QVariant tab = Unwrapped(parameter.constFirst());
        if (tab.userType() != QMetaType::QString)
            return false;
        made.tab = tab.toString();
    }
    made.timestamp = PlatformTime(platformData);
    *request = made;
    return true;
}

void ApplicationBus::Activate(const QVariantMap& platformData) {
    InstanceRequest request;
    request.timestamp = PlatformTime(platformData);
    Q_EMIT requested(request);
}

void ApplicationBus::Open(const QStringList& uris, const QVariantMap& platformData) {
    for (const QString& uri : uris) {
        const QUrl url(uri);
        if (!url.isLocalFile())
            continue;
        InstanceRequest request;
        request.action = InstanceRequest::Action::Open;
        request.tab = url.toLocalFile();
        request.timestamp = PlatformTime(platformData);
        Q_EMIT requested(request);
        return;
    }
}

void ApplicationBus::ActivateAction(const QString& name, const QVariantList& parameter,
                                    const QVariantMap& platformData) {
    InstanceRequest request;
    if (ActionRequest(name, parameter, platformData, &request))
        Q_EMIT requested(request);
    else if (calledFromDBus())
        sendErrorReply(QDBusError::InvalidArgs,
                       UiText("Error.NoAction", "Kelvara has no action %1 with these parameters").arg(name));
}
