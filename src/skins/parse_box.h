#pragma once

#include <QString>

#include "skins/skin.h"

// Reads "(left, top, width, height)" into box from left to right and stops at the first piece it
// cannot read, leaving the numbers not reached as they were. The text must be at least 9
// characters long and enclosed in parentheses; the numbers may be decimal or hexadecimal ("0x",
// "$").
void ParseBox(const QString& text, SkinBox& box);
