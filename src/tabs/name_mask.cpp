#include "tabs/name_mask.h"

#include "common/names.h"

bool MatchesMask(const QString& name, const QString& mask) {
    if (mask == QLatin1String("*.*") || mask == QLatin1String("*"))
        return true;
    const QString text = FoldCase(name);
    const QString pattern = FoldCase(mask);
    // Greedy matching with one backtrack point: the last "*" seen and where it was tried.
    qsizetype t = 0;
    qsizetype p = 0;
    qsizetype starP = -1;
    qsizetype starT = 0;
    while (t < text.size()) {
        if (p < pattern.size() && (pattern[p] == QLatin1Char('?') || pattern[p] == text[t])) {
            ++t;
            ++p;
        } else if (p < pattern.size() && pattern[p] == QLatin1Char('*')) {
            starP = p++;
            starT = t;
        } else if (starP >= 0) {
            p = starP + 1;
            t = ++starT;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == QLatin1Char('*'))
        ++p;
    return p == pattern.size();
}
