#pragma once

#include <memory>

#include <QBuffer>
#include <QObject>
#include <QPointer>
#include <QString>

#include "common/program_folder.h"

class QWidget;
class HttpClient;
class TfrmUpdate;
class UserPrompts;

// The version check at start-up: one GET of "/update.php" on the update server, in the
// background of the event loop. The answer shows the server's message, or offers a new version
// and opens the download dialog; anything else, a failed request or an unreachable server shows
// nothing.
//
// The settings dialog drops a pending check with cancel(): the request ends and no answer is
// handled.
class UpdateCheck : public QObject {
    Q_OBJECT
public:
    // The largest answer that is read; a longer one is ignored.
    static constexpr qint64 MaxResponseSize = 64 * 1024;

    // owner: the controller's window, owner of the question and of the download dialog.
    UpdateCheck(const ProgramFolder& folder, UserPrompts& prompts, QWidget* owner, QObject* parent = nullptr);
    ~UpdateCheck() override;

    // The update server: the environment variable KELVARA_UPDATE_URL when set (for tests, e.g.
    // "http://127.0.0.1:8080"), else the program's own server.
    static QString ServerAddress();
    // server + "/update.php?app=Kelvara&ver=200&os=" + "NT" or "9X".
    static QString RequestUrl(const QString& server, bool isNT);

    // Starts the check without waiting for it. Does nothing while a check is pending.
    void start(bool isNT);
    // Drops a pending check.
    void cancel();
    bool pending() const { return m_updateBuffer != nullptr; }

    // The download dialog opened by the last answer, while it exists.
    TfrmUpdate* downloadDialog() const { return m_dialog; }

Q_SIGNALS:
    // Passed on from the download dialog: the program should end so that the installer can run.
    void closeProgramRequested();

private:
    void HttpCli1RequestDone(int error);

    ProgramFolder m_folder;
    UserPrompts& m_prompts;
    QPointer<QWidget> m_owner;
    HttpClient* HttpCli1;
    std::unique_ptr<QBuffer> m_updateBuffer; // UpdateBuffer: exists while a check is pending
    QPointer<TfrmUpdate> m_dialog;
};
