#!/usr/bin/env bash
# The program under a window manager that is slow to map new windows and maps them even after the
# program withdrew them (slow_wm.py, standing in for GNOME's mutter with a new program): once the
# tabs are shown no other window of the program stays mapped. The splash is hidden right after the
# tabs are shown, which is before such a manager maps it.
#
# Usage: slow_window_manager_e2e.sh PROGRAM_FOLDER
set -euo pipefail
program=$(cd "$1" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=/dev/null
source "$here/xvfb.sh"
# shellcheck source=/dev/null
source "$here/mouse_e2e_helpers.sh"

E2E_CLEANUP='kill "${wm_pid:-}" 2>/dev/null || true'
e2e_prepare "$program"
mkdir -p "$app/Tabs/A"
e2e_start_display 1024x768
bottom=768
python3 "$here/slow_wm.py" 2 > "$work/wm.out" &
wm_pid=$!
e2e_wait_for 30 grep -q ready "$work/wm.out" || e2e_fail "the window manager did not start"

e2e_start_program
e2e_wait_for 60 e2e_tabs_placed "$pid" 1 "$bottom" || e2e_fail "the tab is not on the edge: $(e2e_windows_of "$pid" | tr '\n' ';')"
# The manager maps every window within two seconds of its request.
only_the_tab() { [ "$(e2e_windows_of "$pid" | wc -l)" = 1 ]; }
e2e_wait_for 30 only_the_tab || e2e_fail "beside the tab these windows stay mapped: $(e2e_windows_of "$pid" | tr '\n' ';')"
echo "slow window manager e2e: only the tab is mapped"
