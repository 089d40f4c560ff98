// The controller's part in the keyboard: the shortcut key that opens a tab from any program, and
// the row of tabs the keys move along.
#include "core/controller.h"

#include <algorithm>

#include <QApplication>
#include <QDir>
#include <QKeySequence>

#include "platform/global_shortcut.h"
#include "platform/single_instance.h"
#include "platform/x11_focus.h"
#include "tabs/keyboard_navigation.h"
#include "tabwindow/tab_window.h"
#include "translation/ui_text.h"
#include "ui/error_report.h"

void TfrmRunning::GrabShortcutKey() {
    if (m_shortcut == nullptr) {
        m_shortcut = new GlobalShortcut(this);
        // Queued, so that the key is handled as an event of the application, whose errors reach
        // the error report, and not inside the display connection's event reading.
        connect(m_shortcut, &GlobalShortcut::activated, this, &TfrmRunning::ShortcutKeyPressed,
                Qt::QueuedConnection);
    }
    const QString text = m_stored.ShortcutKey;
    const QKeySequence key = QKeySequence::fromString(text, QKeySequence::PortableText);
    // A text Qt cannot read gives no key at all, which must not pass for a switched-off shortcut.
    GlobalShortcut::Result result = GlobalShortcut::Result::UnknownKey;
    if (key.isEmpty() && !text.trimmed().isEmpty())
        m_shortcut->Release();
    else
        result = m_shortcut->Grab(key);
    QString report;
    switch (result) {
    case GlobalShortcut::Result::Taken: {
        // Kelvara of this data folder runs once, so the holder is another program or the Kelvara
        // of another data folder (a portable program folder), which the user should hear of.
        const QStringList others = OtherInstanceFolders(InstanceKey(m_folder.userDir()));
        report = others.isEmpty()
                     ? UiText("Error.ShortcutTaken",
                              "The shortcut key %1 is in use by another program, so it does not open the "
                              "tabs; choose another one on the General page of the settings.")
                           .arg(text)
                     : UiText("Error.ShortcutTakenByKelvara",
                              "The shortcut key %1 is in use by another program, perhaps the Kelvara that "
                              "runs for %2, so it does not open these tabs; choose another one on the "
                              "General page of the settings.")
                           .arg(text, QDir::toNativeSeparators(others.join(QStringLiteral(", "))));
        break;
    }
    case GlobalShortcut::Result::UnknownKey:
        report =
            UiText("Error.ShortcutUnknown", "The shortcut key \"%1\" of the settings file names no key "
                                            "Kelvara can use; choose another one on the General page of the "
                                            "settings.")
                .arg(text);
        break;
    case GlobalShortcut::Result::Off:
    case GlobalShortcut::Result::Grabbed:
    case GlobalShortcut::Result::NoDisplay:
        break;
    }
    // Said once, not at every change of the settings while it stays the same.
    if (!report.isEmpty() && report != m_shortcutReported)
        ReportError(report);
    m_shortcutReported = report;
}

void TfrmRunning::grabShortcutKey(bool on) {
    if (on)
        GrabShortcutKey();
    else if (m_shortcut)
        m_shortcut->Release();
}

void TfrmRunning::ShortcutKeyPressed(quint32 timestamp) {
    for (TfrmTab* window : std::as_const(m_tabWindows)) {
        if (window->KeyboardOpen()) {
            OpenTabFromKeyboard(window, timestamp);
            return;
        }
    }
    if (TfrmTab* target = LastOpenedTab())
        OpenTabFromKeyboard(target, timestamp);
}

void TfrmRunning::OpenTabFromKeyboard(TfrmTab* target, quint32 timestamp) {
    // A dialog waiting for an answer keeps the keyboard.
    if (QApplication::activeModalWidget() || QApplication::activePopupWidget())
        return;
    if (target->KeyboardOpen())
        TakeFocus(target, timestamp);
    else
        target->OpenFromKeyboard(timestamp, FocusedWindow());
}

TfrmTab* TfrmRunning::LastOpenedTab() const {
    if (m_tabWindows.isEmpty())
        return nullptr;
    TfrmTab* target = m_tabWindows.first();
    for (TfrmTab* window : std::as_const(m_tabWindows)) {
        if (window->TabModel().TabFolder == m_lastOpenedTab)
            target = window;
    }
    return target;
}

void TfrmRunning::TabOpening(TfrmTab* tab) {
    m_lastOpenedTab = tab->TabModel().TabFolder;
}

TfrmTab* TfrmRunning::NeighbourTab(const TfrmTab* tab, int step, bool wrap) {
    const auto found = std::find(m_tabWindows.cbegin(), m_tabWindows.cend(), tab);
    if (found == m_tabWindows.cend())
        return nullptr;
    const int index = int(found - m_tabWindows.cbegin());
    const int next = SteppedTab(index, int(m_tabWindows.size()), step, wrap);
    return next == index ? nullptr : m_tabWindows.at(next);
}
