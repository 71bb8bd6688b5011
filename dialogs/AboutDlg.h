#pragma once

#include "Dialog.h"

// The About box: the program's icon, version and maker; it closes on OK.
class CAboutDlg : public CDialog {
public:
    explicit CAboutDlg(QWidget* parent) : CDialog(IDD_ABOUT, parent) {}
};
