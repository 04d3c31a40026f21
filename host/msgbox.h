// Message boxes of the module, caught as they are activated.
#ifndef TALLORIX_HOST_MSGBOX_H
#define TALLORIX_HOST_MSGBOX_H

// Hooks the calling thread (WH_CBT). Each message box that is activated is
// printed once on standard error as "message: TEXT"; when answer is true it
// is then answered with OK, or Cancel when it has no OK button. Other
// dialogs are left alone. False when the hook cannot be set.
bool WatchMessageBoxes(bool answer);

// Removes the hook.
void StopWatching();

#endif
