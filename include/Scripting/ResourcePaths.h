// Path rules of resource files: what a meta file or a script may name, and client-file hash names.
#pragma once
#include <string>

namespace Ferrox3D {

// A path that stays inside the resource: not empty, not absolute, no ".." component (either
// separator counts), no NUL. Anything else could reach files of the server or other resources.
bool IsResourceRelativePath(const char* path);

// The file name clients fetch a client file under: the SHA-256 digest of the name with every
// byte lower-cased, as 64 upper-case hexadecimal digits.
std::string MakeClientFileHashName(const char* name);

// Whether the real path of target lies inside the real folder (after following symbolic links).
// A target that does not exist yet is judged by its deepest existing ancestor.
bool IsInsideRealFolder(const std::string& realFolder, const std::string& realTarget);

}  // namespace Ferrox3D
