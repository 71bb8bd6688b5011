#pragma once

class CDialog;
class QWidget;

// Moves values between a dialog's members and its controls, in one direction.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}

    // Thrown to stop the exchange at the first control whose value is refused.
    struct Failure {};
    [[noreturn]] void Fail() { throw Failure{}; }

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate;
};

// The member widget takes the place of the template's control of that id.
void DDX_Control(CDataExchange* pDX, int id, QWidget& control);
