// Process entry point of kestro-server.
#include "Engine/Log.h"

int main(int argc, char** argv) {
    Ferrox3D::Log("Server is starting...");
    return 0;
}
