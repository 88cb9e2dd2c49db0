// The operator's resource commands: start, stop, restart, stopall, refresh and dumpdoc.
#pragma once

class CServerResourceMgr;
namespace Ferrox3D {
class CCommandHandlers;
}

void RegisterResourceCommands(Ferrox3D::CCommandHandlers& commands, CServerResourceMgr& resources);
