#pragma once

#include <QDBusContext>
#include <QObject>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

#include "platform/instance_request.h"

// The freedesktop application interface of the running instance on the session bus. Each call
// becomes a request; the actions are those of the command line ("open", "settings",
// "add-applications", "refresh", "quit"), with the tab name as the one parameter of "open" and
// "add-applications".
class ApplicationBus : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Application")
public:
    using QObject::QObject;

    // The request a call stands for; false for an action that is not known or a parameter that
    // is not a text.
    static bool ActionRequest(const QString& name, const QVariantList& parameter,
                              const QVariantMap& platformData, InstanceRequest* request);
    static quint32 PlatformTime(const QVariantMap& platformData);

public Q_SLOTS:
    void Activate(const QVariantMap& platformData);
    // Opens the tab whose folder the first local URI names.
    void Open(const QStringList& uris, const QVariantMap& platformData);
    void ActivateAction(const QString& name, const QVariantList& parameter, const QVariantMap& platformData);

Q_SIGNALS:
    void requested(const InstanceRequest& request);
};
