#pragma once

// Tooltips show their text as plain text in every widget and item view. Qt reads a tooltip as
// markup when it looks like markup, and a tooltip's text may come from a desktop entry, a skin or
// a translation: "<img src=/dev/zero>" would have the tooltip read that file without end.
// Installs an application-wide filter of tooltip events; needs the application object. Later
// calls do nothing.
void InstallPlainTooltips();
