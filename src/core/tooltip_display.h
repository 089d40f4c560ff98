#pragma once

// How long a tooltip stays up: Qt's own time (10 s and a little more per letter) is too short to
// read a long name.
inline constexpr int TooltipDisplayMs = 32767;

// Every widget and item view shows its tooltip for TooltipDisplayMs, and as plain text. Qt's
// tooltip events carry no display time, so an application-wide filter answers them itself. Qt reads
// a tooltip as markup when it looks like markup, and a tooltip's text may come from a desktop entry,
// a skin or a translation: "<img src=/dev/zero>" would have the tooltip read that file without end;
// such text is shown escaped.
// Needs the application object. Later calls do nothing.
void InstallTooltipDisplay();
