// Tenkora, the braille book editor.

#include "Application.h"

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv)
{
    // Without a display Qt would stop with a platform error; say plainly what to do instead.
    if (!std::getenv("DISPLAY") && !std::getenv("WAYLAND_DISPLAY") && !std::getenv("QT_QPA_PLATFORM")) {
        std::fprintf(stderr, "tenkora: there is no display here; run it under Xvfb, for example: xvfb-run -a %s\n",
                     argv[0]);
        return 2;
    }
    braille::Application app(argc, argv);
    if (!app.initInstance())
        return 1;
    return app.exec();
}
