#pragma once

#include <QString>

// Whether a file name matches a mask such as "*.lnk" or "*.*", as the Windows file search matches
// them: "*" stands for any run of characters, "?" for one character, the letters A to Z match
// either case, and "*.*" matches every name, with or without a dot.
bool MatchesMask(const QString& name, const QString& mask);
