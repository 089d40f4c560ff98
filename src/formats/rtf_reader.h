#pragma once

#include <QStringView>

class QTextDocument;

// Replaces the content of `document` with the text of `rtf`, keeping bold, italic, underline,
// font and size, and paragraphs. It reads the plain subset a skin description uses: groups,
// the font table, \b \i \ul \ulnone \plain \par \line \tab \f \fs \u \uc, the escapes \\ \{ \}
// and \'xx (Windows-1252); other control words and ignorable destinations are skipped. Any
// input is accepted: groups nest at most 64 deep for formatting, numbers saturate.
void ReadRtf(QStringView rtf, QTextDocument& document);
