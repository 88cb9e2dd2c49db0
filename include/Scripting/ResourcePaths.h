// Path rules of resource files: what a meta file or a script may name.
#pragma once
#include <string>

namespace Ferrox3D {

// A path that stays inside the resource: not empty, not absolute, no ".." component (either
// separator counts), no NUL. Anything else could reach files of the server or other resources.
bool IsResourceRelativePath(const char* path);

// Whether the real path of target lies inside the real folder (after following symbolic links).
// A target that does not exist yet is judged by its deepest existing ancestor.
bool IsInsideRealFolder(const std::string& realFolder, const std::string& realTarget);

}  // namespace Ferrox3D
