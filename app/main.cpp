#include "QuillowApp.h"
#include "SingleInstance.h"

#include <cstdio>

int main(int argc, char** argv) {
    // Settled first, before the display or any file is touched; the token is read before the
    // toolkit takes it from the environment.
    CSingleInstance instance;
    switch (instance.Claim(LauncherActivationToken())) {
    case CSingleInstance::ROLE_ASKED:
        return 0;
    case CSingleInstance::ROLE_NO_ANSWER:
        std::fputs("quillow: a running copy does not answer; not starting a second one\n", stderr);
        return 1;
    case CSingleInstance::ROLE_FIRST:
        break;
    }
    CQuillowApp app(argc, argv, instance.Listener());
    return app.Run();
}
