#pragma once

// Makes every tab window known to screen readers: the window is a list named after its tab, with
// one list item per shortcut (its caption as name, its description, and a press action that
// launches it); the keyboard's highlight is the focused item. Call it once the application object
// exists.
void InstallTabAccessibility();
