#pragma once

#include <functional>
#include <memory>

#include <QDialog>
#include <QString>

#include "common/program_folder.h"

class QLabel;
class QProgressBar;
class QPushButton;
class ReplacingFile;
class QTimer;
class HttpClient;
class UserPrompts;

// The dialog "Downloading Update...": downloads the new version's file into the program folder,
// shows the progress and an estimate of the time left, and offers to run the file.
//
// The body goes to a temporary file beside its final place and is renamed into place only when
// the request completed with a 2xx status and every announced byte; a failed or cancelled
// download leaves no file, and the user is told why in plain words (libcurl's own wording is in
// the status line's hint). The dialog deletes itself when closed.
class TfrmUpdate : public QDialog {
    Q_OBJECT
public:
    // The largest file the dialog downloads.
    static constexpr qint64 MaxDownloadSize = 512LL * 1024 * 1024;

    TfrmUpdate(const ProgramFolder& folder, UserPrompts& prompts, QWidget* owner = nullptr);
    ~TfrmUpdate() override;

    // Shows address in lblURL, shows the dialog and starts the download. secure: the update check
    // was made over https, so the download must be too: an http address is refused, and the
    // download follows no redirection to one.
    void startDownload(const QString& address, bool secure = false);

    // Seams for tests: the clock (milliseconds since the epoch), how the saved file is opened (by
    // default OpenDownloadedFile; true when something was started) and the certificates the
    // download trusts.
    void setClock(std::function<qint64()> now) { m_now = std::move(now); }
    void setOpenFile(std::function<bool(const QString&)> open) { m_openFile = std::move(open); }
    void setTrustedCertificates(const QString& file);

    const QString& downloadName() const { return DownloadName; }
    qint64 downloadTotal() const { return DownloadTotal; }
    double spinnerPhase() const { return SpinnerPhase; }

Q_SIGNALS:
    // The user chose to install the update and the file was started: the program should end so
    // that the installer can replace it.
    void closeProgramRequested();

public Q_SLOTS:
    // Esc and the Cancel button close the dialog, which asks first.
    void reject() override;

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void HttpCli1SessionConnected();
    void HttpCli1HeaderEnd(qint64 contentLength, const QString& url);
    void HttpCli1DocBegin();
    void HttpCli1DocData(qint64 received);
    void HttpCli1RequestDone(int error);
    void Timer1Timer();
    void complete();
    // Tells the user why the download failed; detail (libcurl's words) goes to the status hint.
    void fail(const QString& reason, const QString& detail = {});
    void setStatus(const QString& text);
    void paintSpinner();

    UserPrompts& m_prompts;
    ProgramFolder m_folder;
    std::function<qint64()> m_now;
    std::function<bool(const QString&)> m_openFile;
    bool m_secure = false;

    QLabel* Label1;
    QLabel* lblURL;
    QProgressBar* ProgressBar1;
    QLabel* lblStatus;
    QLabel* lblBytes;
    QPushButton* Button1;
    QWidget* panWaiting;
    QTimer* Timer1;
    HttpClient* HttpCli1;

    double SpinnerPhase = 0;
    qint64 DownloadStart = 0; // milliseconds since the epoch
    qint64 DownloadTotal = 0;
    qint64 m_received = 0;
    QString DownloadName;
    std::unique_ptr<ReplacingFile> m_file;

    bool m_askOnClose = true;
    bool m_asking = false;          // the cancel question is open
    bool m_doneWhileAsking = false; // the request ended while the cancel question was open
};
