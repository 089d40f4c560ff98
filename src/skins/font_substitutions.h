#pragma once

// Skins, dialogs and the About page name Windows fonts ("MS Sans Serif", "Verdana", "Tahoma").
// This maps them onto installed look-alikes of similar size; call it once at start-up, after the
// GUI application is made and before any font is used.
void InstallFontSubstitutions();
