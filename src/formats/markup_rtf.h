#pragma once

#include <QString>

// Turns the one-line mark-up of a skin description into RTF. "&b", "&i" and "&u" switch bold,
// italic and underline (bold and italic text is set in Arial), "&n" starts a new paragraph, "&p"
// leaves an empty paragraph, "&&" is a literal "&"; "&" before any other character drops both.
// Text is copied unchanged except carriage returns (new paragraphs) and backslashes.
QString MarkupToRtf(const QString& markup);
