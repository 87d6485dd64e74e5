// SIGINT and SIGTERM end a window program as its Exit does: the event loop returns, the forms
// end and close their files, and the program exits with status 0 (a service manager stopping a
// session sees a clean end, not a death by signal).
#pragma once

#include <functional>

namespace apps::qt {

// Catches the signals from now on, before the application object exists, so that none is lost
// in start-up; once the application object is made, the event loop acts on them (and on any
// that came before) by calling onStop, by default QCoreApplication::quit. Call once, from main.
void quitOnStopSignals(std::function<void()> onStop = {});

}  // namespace apps::qt
