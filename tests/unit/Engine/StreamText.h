// Reads what is left of a stream into a string, for tests.
#pragma once
#include <string>
#include "Engine/Stream.h"

inline std::string ReadAll(Ferrox3D::Stream* s) {
    std::string out;
    char buf[256];
    while (size_t n = s->Read(buf, sizeof(buf)))
        out.append(buf, n);
    return out;
}
