// Process entry point of kestro-server.
#include "Server/ServerMain.h"

int main(int argc, char** argv) { return ServerMain(argc, argv); }
