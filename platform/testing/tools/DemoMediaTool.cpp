// vemo-demo-media FOLDER: writes the demo title's pictures, sounds and movies into FOLDER
// (scripts/make-demo-media). Exit code 0 on success, 1 when a file cannot be made, 2 for a wrong command
// line.
#include "platform/testing/DemoMedia.h"

#include <cstdio>
#include <exception>

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: vemo-demo-media FOLDER\n");
        return 2;
    }
    try {
        demo::WriteDemoMedia(argv[1]);
    } catch (const std::exception& failure) {
        std::fprintf(stderr, "vemo-demo-media: %s\n", failure.what());
        return 1;
    }
    return 0;
}
