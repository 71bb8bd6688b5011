#include "floor.h"

#include <QDialog>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>

void BuildFloorDialog(QDialog& dialog, FloorKind kind) {
    dialog.setFixedSize(506, 170);
    if (kind == FloorKind::Plain)
        return;
    (new QLabel(QStringLiteral("Capital of France?"), &dialog))->setGeometry(14, 14, 412, 64);
    (new QPlainTextEdit(&dialog))->setGeometry(8, 100, 422, 62);
    for (int i = 0; i < 6; ++i)
        (new QPushButton(QStringLiteral("Answer"), &dialog))->setGeometry(448, 30 + 22 * i, 50, 20);
}
