// "/commandline.txt": console command lines run once at start-up.
#pragma once
#include <string>
#include <vector>
#include "Engine/Stream.h"

constexpr const char* COMMAND_FILE_PATH = "/commandline.txt";

// The complete lines of the file: text decoded with byte-order mark detection, carriage returns
// dropped, characters above 255 replaced by '?', reading stopped at the first NUL. A last line
// without a line feed is not a complete line. A line longer than a console command line is
// skipped with a warning.
std::vector<std::string> ReadCommandFileLines(Ferrox3D::Stream* pStream);
