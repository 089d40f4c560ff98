#pragma once

#include <QAbstractNativeEventFilter>
#include <QKeySequence>
#include <QList>
#include <QObject>

// One key combination that works in every program: the key is grabbed on the X server's root
// window (with and without Num Lock and Caps Lock), and its presses come here, whichever window
// has the keyboard.
class GlobalShortcut : public QObject, public QAbstractNativeEventFilter {
    Q_OBJECT
public:
    enum class Result {
        Off,        // no key given: nothing is grabbed
        Grabbed,    // the key works
        NoDisplay,  // not on an X display (the offscreen platform): nothing is grabbed
        UnknownKey, // the text names no key combination that can be grabbed
        Taken,      // another program has grabbed the key already
    };

    explicit GlobalShortcut(QObject* parent = nullptr);
    ~GlobalShortcut() override;

    // Releases the key grabbed before, then grabs the first key combination of key.
    Result Grab(const QKeySequence& key);
    void Release();

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

Q_SIGNALS:
    // The key was pressed; timestamp is the X server's time of the press.
    void activated(quint32 timestamp);

private:
    quint32 m_root = 0;
    quint8 m_keycode = 0;
    quint16 m_modifiers = 0;
    quint16 m_numLockMask = 0;
    QList<quint16> m_grabbed; // the modifier sets grabbed with m_keycode
};
