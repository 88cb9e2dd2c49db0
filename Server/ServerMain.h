// The life of the server process: start-up, main loop, shutdown, exit status.
#pragma once
#include <functional>

constexpr int EXIT_STATUS_OK = 0;
constexpr int EXIT_STATUS_START_FAILED = 1;

int ServerMain(int argc, char** argv);

// Runs the body; an exception that escapes it is logged with its type and text and ends in
// status 1, since a run that died on an exception did not end normally.
int RunGuarded(const std::function<int()>& body);
