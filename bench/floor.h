// The toolkit's floor: a plain Qt dialog of the quiz window's size that does nothing.
#pragma once

class QDialog;

enum class FloorKind {
    Plain,
    // Also controls like the quiz window's, with a question's text: the cost of the toolkit's
    // text and widgets apart from the program's own.
    WithControls,
};

void BuildFloorDialog(QDialog& dialog, FloorKind kind);
