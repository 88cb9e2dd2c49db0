// Process-wide start and stop of the JavaScript engine library (once per process).
#pragma once

// Initialises the engine library on first call; later calls return the first outcome.
// Failure is logged as an error. The library is shut down when the process exits.
bool EnsureJSEngine();
