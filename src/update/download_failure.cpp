#include "update/download_failure.h"

#include <curl/curl.h>

#include "translation/ui_text.h"

QString DownloadFailureText(int curlCode, long httpStatus, bool secure) {
    switch (curlCode) {
    case CURLE_OK:
        break;
    case CURLE_UNSUPPORTED_PROTOCOL:
        return secure ? UiText("DownloadError.NotSecureRedirect",
                               "The server sent the download on to an address that is not secure.")
                      : UiText("DownloadError.NotWeb", "The download address is not a web address.");
    case CURLE_URL_MALFORMAT:
        return UiText("DownloadError.NotValid", "The download address is not a valid web address.");
    case CURLE_COULDNT_RESOLVE_HOST:
        return UiText("DownloadError.NoHost", "The server's name could not be found.");
    case CURLE_COULDNT_CONNECT:
        return UiText("DownloadError.NoConnect", "The server could not be reached.");
    case CURLE_OPERATION_TIMEDOUT:
        return UiText("DownloadError.Timeout", "The server did not answer in time.");
    case CURLE_PARTIAL_FILE:
        return UiText("DownloadError.Partial", "The connection was closed before the download was complete.");
    case CURLE_GOT_NOTHING:
    case CURLE_SEND_ERROR:
    case CURLE_RECV_ERROR:
        return UiText("DownloadError.Broken", "The connection to the server was broken.");
    case CURLE_TOO_MANY_REDIRECTS:
        return UiText("DownloadError.Redirects", "The server sent the download on too many times.");
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
        return UiText("DownloadError.Certificate", "The server's identity could not be verified.");
    default:
        return UiText("DownloadError.Failed", "The download failed.");
    }
    if (httpStatus == 404 || httpStatus == 410)
        return UiText("DownloadError.NotFound", "The file was not found on the server.");
    if (httpStatus < 200 || httpStatus > 299)
        return UiText("DownloadError.Refused", "The server refused the download (status %1).")
            .arg(httpStatus);
    return QString();
}
