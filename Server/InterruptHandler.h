// SIGINT asks the main loop to stop; only the first one counts.
#pragma once
#include "Engine/Signalable.h"

// The handler only raises the quit signal (lock-free) and is then reset to the default action.
void InstallInterruptHandler(Ferrox3D::Signalable& quitSignal);
