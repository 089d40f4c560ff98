#pragma once

#include <QByteArrayView>
#include <QString>
#include <QStringList>

#include "common/user_text.h"

// The update server's answer to the version check: a few lines of plain text whose first line,
// taken alone and compared after folding A-Z to lower case, says what to do.
struct UpdateResponse {
    enum class Kind {
        Nothing, // any other first line, a lone "update", or an empty answer
        Message, // "message": the further lines are a message for the user
        Update,  // "update": line 2 is the address of the new version's file
    };
    Kind kind = Kind::Nothing;
    // For Message: the whole text to show, the fixed sentence first, then each further line.
    UserText message;
    // For Update: line 2 as it stands (it may be empty).
    QString address;
};

// The sentence that opens every message from the server.
UserText UpdateMessageIntro();

// Splits a response body into lines at CR, LF or CR LF. A break at the very end adds no empty
// line; an empty body has no line. The bytes are read as UTF-8, or as Latin-1 when they are not
// valid UTF-8.
QStringList SplitResponseLines(QByteArrayView body);

// Reads the response body of the version check. Never throws; anything unexpected is Nothing.
UpdateResponse ParseUpdateResponse(QByteArrayView body);
