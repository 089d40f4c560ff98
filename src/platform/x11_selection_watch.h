#pragma once

#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QObject>

// Follows the owner of a manager selection of the X display (_NET_WM_CM_S0: the compositing
// manager; _XSETTINGS_S0: the settings daemon) through the XFixes extension, whose selection
// events the X server sends only when the owner changes: nothing wakes the program meanwhile.
// Optionally follows a property of the owner's window too (the settings of a settings daemon).
// Does nothing off X11 and on the offscreen platform.
class X11SelectionWatch : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT

public:
    // selection: the selection's name; ownerProperty: a property of the owner's window whose
    // changes are reported as well (empty for none).
    explicit X11SelectionWatch(const QByteArray& selection, const QByteArray& ownerProperty = {},
                               QObject* parent = nullptr);
    ~X11SelectionWatch() override;

    // The owner's window, 0 when the selection has none.
    unsigned long Owner() const { return m_owner; }
    // The owner window's property (ownerProperty) as it is now; empty without owner or property.
    QByteArray OwnerProperty() const;

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    void ownerChanged();
    void ownerPropertyChanged();

private:
    void FollowOwner();

    void* m_display = nullptr;
    unsigned long m_selection = 0;
    unsigned long m_property = 0;
    unsigned long m_owner = 0;
    int m_fixesEventBase = -1;
};
