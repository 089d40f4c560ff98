#include "update/update_check.h"

#include <QWidget>

#include "common/error.h"
#include "formats/update_response.h"
#include "platform/user_prompts.h"
#include "translation/ui_text.h"
#include "update/http_client.h"
#include "update/update_window.h"

UpdateCheck::UpdateCheck(const ProgramFolder& folder, UserPrompts& prompts, QWidget* owner, QObject* parent)
    : QObject(parent), m_folder(folder), m_prompts(prompts), m_owner(owner) {
    HttpCli1 = new HttpClient(this);
    HttpCli1->setObjectName(QStringLiteral("HttpCli1"));
    HttpCli1->setMaxBodySize(MaxResponseSize);
    connect(HttpCli1, &HttpClient::requestDone, this, &UpdateCheck::HttpCli1RequestDone);
}

UpdateCheck::~UpdateCheck() {
    HttpCli1->abort();
}

QString UpdateCheck::ServerAddress() {
    QString server = qEnvironmentVariable("KELVARA_UPDATE_URL").trimmed();
    if (server.isEmpty())
        server = QStringLiteral("https://update.kelvara.org");
    while (server.endsWith(QLatin1Char('/')))
        server.chop(1);
    return server;
}

QString UpdateCheck::RequestUrl(const QString& server, bool isNT) {
    return server + QStringLiteral("/update.php?app=Kelvara&ver=200&os=") +
           (isNT ? QStringLiteral("NT") : QStringLiteral("9X"));
}

void UpdateCheck::start(bool isNT) {
    if (pending())
        return;
    m_updateBuffer = std::make_unique<QBuffer>();
    m_updateBuffer->open(QIODevice::WriteOnly);
    HttpCli1->setUrl(RequestUrl(ServerAddress(), isNT));
    HttpCli1->setBody(m_updateBuffer.get());
    try {
        HttpCli1->get();
    } catch (const Error&) {
        // Without a usable network library the check fails like an unreachable server: silently,
        // and the program starts as usual.
        m_updateBuffer.reset();
    }
}

void UpdateCheck::cancel() {
    HttpCli1->abort();
    m_updateBuffer.reset();
}

void UpdateCheck::HttpCli1RequestDone(int) {
    if (!m_updateBuffer)
        return;
    const QByteArray body = m_updateBuffer->data();
    m_updateBuffer.reset();
    // An error page, a cut answer or one past the size limit is not the server's answer.
    if (!HttpCli1->succeeded())
        return;

    const UpdateResponse response = ParseUpdateResponse(body);
    switch (response.kind) {
    case UpdateResponse::Kind::Nothing:
        break;
    case UpdateResponse::Kind::Message:
        m_prompts.message(nullptr, ApplicationCaption(), Worded(response.message));
        break;
    case UpdateResponse::Kind::Update:
        if (m_prompts.question(m_owner, UiText("Update.Title", "Kelvara AutoUpdate"),
                               UiText("Update.Question",
                                      "There is a new version of Kelvara available. Do you want "
                                      "to update now?"))) {
            m_dialog = new TfrmUpdate(m_folder, m_prompts, m_owner);
            connect(m_dialog, &TfrmUpdate::closeProgramRequested, this, &UpdateCheck::closeProgramRequested);
            // An answer that came over https offers its download over https only.
            m_dialog->startDownload(response.address,
                                    HttpCli1->url().startsWith(QLatin1String("https:"), Qt::CaseInsensitive));
        }
        break;
    }
}
