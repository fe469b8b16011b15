#pragma once
// A logout or a `kill` ends the program as its window's close does: the question on the
// screen is kept as stopped, and every row waiting is written.

// SIGTERM and SIGHUP quit the event loop; the session manager's request to save quits it
// too. Call once, with the application made.
void QuitOnSessionEnd();
