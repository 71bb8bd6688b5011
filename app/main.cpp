#include "QuillowApp.h"

int main(int argc, char** argv) {
    CQuillowApp app(argc, argv);
    return app.Run();
}
