#include "update/update_window.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDir>
#include <QFontMetrics>
#include <QLabel>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QTimer>

#include "common/error.h"
#include "common/replacing_file.h"
#include "config/plain_controls.h"
#include "platform/user_prompts.h"
#include "translation/ui_text.h"
#include "update/download_failure.h"
#include "update/download_name.h"
#include "update/download_progress.h"
#include "update/http_client.h"
#include "update/open_download.h"

namespace {

constexpr double MsecsPerDay = 24.0 * 60 * 60 * 1000;
// lblURL stops short of the waiting animation; a longer address is elided, whole in the tooltip.
constexpr int UrlWidth = 284;
// lblBytes wraps before the Cancel button.
constexpr int BytesWidth = 260;

// Texts and hints as plain text: the address and the failure details come from a server.
QLabel* MakeLabel(QWidget* parent, const char* name, int left, int top, const QString& text) {
    auto* label = new PlainLabel(parent);
    label->setText(text);
    label->setObjectName(QString::fromLatin1(name));
    label->move(left, top);
    label->adjustSize();
    return label;
}

} // namespace

TfrmUpdate::TfrmUpdate(const ProgramFolder& folder, UserPrompts& prompts, QWidget* owner)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                         Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      m_prompts(prompts), m_folder(folder), m_now([] { return QDateTime::currentMSecsSinceEpoch(); }),
      m_openFile(&OpenDownloadedFile) {
    setObjectName(QStringLiteral("frmUpdate"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(UiText("Download.Title", "Downloading Update..."));
    QFont dialogFont;
    dialogFont.setFamilies(
        {QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"), QStringLiteral("Arial")});
    dialogFont.setPointSize(8);
    setFont(dialogFont);
    setFixedSize(359, 133);
    move(210, 168);

    Label1 =
        MakeLabel(this, "Label1", 8, 8, UiText("Download.From", "Downloading new version of Kelvara from"));
    lblURL = MakeLabel(this, "lblURL", 8, 24, QString());
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setGeometry(24, 48, 249, 17);
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);
    lblStatus = MakeLabel(this, "lblStatus", 8, 80, UiText("Download.Connecting", "Status: Connecting..."));
    lblBytes = MakeLabel(this, "lblBytes", 8, 104, UiText("Download.Waiting", "0 bytes / 0 bytes, waiting"));
    lblBytes->setWordWrap(true);
    lblBytes->setFixedWidth(BytesWidth);
    lblBytes->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    lblBytes->setFixedHeight(height() - 104);
    Button1 = new QPushButton(UiText("Download.Cancel", "Cancel"), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(272, 96, 75, 25);
    Button1->setAutoDefault(false);
    panWaiting = new QWidget(this);
    panWaiting->setObjectName(QStringLiteral("panWaiting"));
    panWaiting->setGeometry(296, 16, 49, 49);
    panWaiting->installEventFilter(this);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(40);
    connect(Timer1, &QTimer::timeout, this, &TfrmUpdate::Timer1Timer);
    Timer1->start();

    HttpCli1 = new HttpClient(this);
    HttpCli1->setObjectName(QStringLiteral("HttpCli1"));
    HttpCli1->setMaxBodySize(MaxDownloadSize);
    connect(HttpCli1, &HttpClient::sessionConnected, this, &TfrmUpdate::HttpCli1SessionConnected);
    connect(HttpCli1, &HttpClient::headerEnd, this, &TfrmUpdate::HttpCli1HeaderEnd);
    connect(HttpCli1, &HttpClient::docBegin, this, &TfrmUpdate::HttpCli1DocBegin);
    connect(HttpCli1, &HttpClient::docData, this, &TfrmUpdate::HttpCli1DocData);
    connect(HttpCli1, &HttpClient::requestDone, this, &TfrmUpdate::HttpCli1RequestDone);
    connect(Button1, &QPushButton::clicked, this, &TfrmUpdate::close);
}

TfrmUpdate::~TfrmUpdate() {
    // A transfer still under way ends here; the temporary file goes with m_file.
    HttpCli1->abort();
}

void TfrmUpdate::setTrustedCertificates(const QString& file) {
    HttpCli1->setTrustedCertificates(file);
}

void TfrmUpdate::startDownload(const QString& address, bool secure) {
    lblURL->setText(QFontMetrics(lblURL->font()).elidedText(address, Qt::ElideMiddle, UrlWidth));
    lblURL->setToolTip(address);
    lblURL->adjustSize();
    show();

    m_secure = secure;
    if (secure && !address.startsWith(QLatin1String("https:"), Qt::CaseInsensitive)) {
        fail(UiText("Download.NotSecure", "The download address does not use a secure connection."));
        return;
    }

    // The file is named by the address as set, also when the server redirects elsewhere, so the
    // name is known and checked before any byte arrives.
    DownloadName = DownloadNameFromUrl(address);
    try {
        CheckDownloadName(DownloadName, m_folder);
    } catch (const Error& error) {
        fail(Worded(error.text()));
        return;
    }
    // Unbuffered, so that a write the disk cuts short fails while the data arrives and a cut-off
    // update is never reported as complete.
    m_file = std::make_unique<ReplacingFile>(m_folder.userDir() + DownloadName,
                                             QLatin1StringView(kDownloadTemporaryTag));
    if (!m_file->open(QIODevice::WriteOnly | QIODevice::Unbuffered)) {
        const QString reason = m_file->errorString();
        m_file.reset();
        fail(UiText("Download.NotCreated", "The file %1 could not be created: %2").arg(DownloadName, reason));
        return;
    }
    HttpCli1->setUrl(address);
    HttpCli1->setBody(m_file.get());
    try {
        HttpCli1->get();
    } catch (const Error& error) {
        fail(Worded(error.text()));
    }
}

void TfrmUpdate::reject() {
    close();
}

void TfrmUpdate::closeEvent(QCloseEvent* event) {
    if (m_asking) {
        event->ignore();
        return;
    }
    if (m_askOnClose) {
        m_asking = true;
        const bool yes = m_prompts.question(
            this, UiText("Download.AbortTitle", "Abort Download"),
            UiText("Download.AbortQuestion", "Are you sure you want to cancel this download?"), true);
        m_asking = false;
        if (!yes) {
            event->ignore();
            // The request ended while the user was asked: finish it now.
            if (m_doneWhileAsking)
                QTimer::singleShot(0, this, &TfrmUpdate::complete);
            return;
        }
    }
    HttpCli1->abort();
    m_file.reset();
    Timer1->stop();
    event->accept();
}

bool TfrmUpdate::eventFilter(QObject* watched, QEvent* event) {
    if (watched == panWaiting && event->type() == QEvent::Paint) {
        paintSpinner();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TfrmUpdate::paintSpinner() {
    QPainter painter(panWaiting);
    painter.fillRect(panWaiting->rect(), panWaiting->palette().color(QPalette::Window));
    painter.setPen(panWaiting->palette().color(QPalette::WindowText));
    for (const QLine& line : SpinnerLines(SpinnerPhase))
        painter.drawLine(line);
}

void TfrmUpdate::Timer1Timer() {
    SpinnerPhase += 0.1;
    panWaiting->update();
}

void TfrmUpdate::HttpCli1SessionConnected() {
    setStatus(UiText("Download.Connected", "Status: Connected"));
}

void TfrmUpdate::HttpCli1HeaderEnd(qint64 contentLength, const QString&) {
    // An error page is not the file: it must not move the progress bar before the failure shows.
    const long status = HttpCli1->httpStatus();
    if (status < 200 || status > 299) {
        fail(DownloadFailureText(CURLE_OK, status, m_secure),
             UiText("Download.HttpStatus", "HTTP status %1").arg(status));
        return;
    }
    DownloadTotal = contentLength;
    if (DownloadTotal > 0)
        ProgressBar1->setMaximum(int(std::min(DownloadTotal, MaxDownloadSize)));
}

void TfrmUpdate::HttpCli1DocBegin() {
    setStatus(UiText("Download.Downloading", "Status: Downloading..."));
    DownloadStart = m_now();
}

void TfrmUpdate::HttpCli1DocData(qint64 received) {
    m_received = received;
    int minutes = 0;
    if (DownloadTotal > 0) {
        const double elapsedDays = double(m_now() - DownloadStart) / MsecsPerDay;
        minutes = RemainingMinutes(elapsedDays, DownloadTotal, received);
        ProgressBar1->setValue(int(std::min(received, DownloadTotal)));
    }
    lblBytes->setText(ProgressText(received, DownloadTotal, minutes));
}

void TfrmUpdate::HttpCli1RequestDone(int) {
    if (m_asking) {
        m_doneWhileAsking = true;
        return;
    }
    complete();
}

void TfrmUpdate::complete() {
    Timer1->stop();
    if (!HttpCli1->succeeded()) {
        const int code = HttpCli1->resultCode();
        // A body too large or a write that failed have the client's own words already.
        if (code == CURLE_WRITE_ERROR || code == CURLE_FILESIZE_EXCEEDED)
            fail(HttpCli1->errorString());
        else
            fail(DownloadFailureText(code, HttpCli1->httpStatus(), m_secure), HttpCli1->errorString());
        return;
    }
    if (DownloadTotal > 0 && m_received != DownloadTotal) {
        fail(UiText("Download.Short", "%1 of the %2 announced bytes arrived.")
                 .arg(m_received)
                 .arg(DownloadTotal));
        return;
    }
    setStatus(UiText("Download.Completed", "Status: Completed"));
    const QString path = m_folder.userDir() + DownloadName;
    if (!m_file || !m_file->commit()) {
        const QString reason = m_file ? m_file->errorString() : QString();
        m_file.reset();
        fail(UiText("Download.NotSaved", "The file %1 could not be saved: %2").arg(DownloadName, reason));
        return;
    }
    m_file.reset();
    MakeProgramExecutable(path);
    m_askOnClose = false;
    if (m_prompts.question(this, UiText("Download.CompleteTitle", "Download Complete"),
                           UiText("Download.InstallQuestion", "Would you like to install the update now?"))) {
        if (m_openFile(path)) {
            Q_EMIT closeProgramRequested();
        } else {
            // Nothing was started, so the program goes on and says so.
            m_prompts.message(
                this, ApplicationCaption(),
                UiText("Download.NotStarted", "%1 could not be started. It is saved in the Kelvara directory "
                                              "(%2): run it from there to install the update.")
                    .arg(DownloadName, QDir::toNativeSeparators(QDir::cleanPath(m_folder.userDir()))));
        }
    } else {
        m_prompts.message(
            nullptr, ApplicationCaption(),
            UiText("Download.Later", "To install the update later, run %1 in the Kelvara directory (%2).")
                .arg(DownloadName, QDir::toNativeSeparators(QDir::cleanPath(m_folder.userDir()))));
    }
    close();
}

void TfrmUpdate::fail(const QString& reason, const QString& detail) {
    Timer1->stop();
    HttpCli1->abort();
    m_file.reset();
    m_askOnClose = false;
    setStatus(UiText("Download.Failed", "Status: Failed"));
    lblStatus->setToolTip(detail);
    m_prompts.message(this, ApplicationCaption(),
                      UiText("Download.NotDownloaded", "The update could not be downloaded. %1").arg(reason));
    close();
}

void TfrmUpdate::setStatus(const QString& text) {
    lblStatus->setText(text);
    lblStatus->adjustSize();
}
