#pragma once

// Lowers the calling thread's priority (its nice value by 10, at most to 19) the first time it is called on that
// thread. For worker threads whose work nobody waits for yet (reading the shortcuts of closed
// tabs, the digest of the tab folders, the splash's clip): on a machine with few cores they would
// otherwise take the processor from the thread that makes the windows, and from the display
// server that maps them. They still run whenever a core is free, and a thread that waits for their
// result leaves its core to them.
void RunAtBackgroundPriority();
