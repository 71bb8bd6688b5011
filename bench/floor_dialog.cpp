// The floor dialog as a program of its own, for start-up and idle: shown until it is ended.
//   floor_dialog [--controls]
#include "floor.h"

#include <QApplication>
#include <QDialog>

#include <cstring>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    const bool controls = argc > 1 && std::strcmp(argv[1], "--controls") == 0;
    BuildFloorDialog(dialog, controls ? FloorKind::WithControls : FloorKind::Plain);
    dialog.show();
    return application.exec();
}
