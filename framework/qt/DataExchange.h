#pragma once

#include <cstdint>
#include <string>

class CDialog;
class QWidget;

// Moves values between a dialog's members and its controls, in one direction; or, before the
// controls are built, only tells the dialog which members take the place of template controls.
class CDataExchange {
public:
    CDataExchange(CDialog* dialog, bool saveAndValidate)
        : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
    enum BindTag { BindControls };
    CDataExchange(CDialog* dialog, BindTag) : m_pDlgWnd(dialog), m_bBinding(true) {}

    // Thrown to stop the exchange at the first control whose value is refused.
    struct Failure {};
    [[noreturn]] void Fail() { throw Failure{}; }
    // Shows the message, puts the focus back on the control with its text selected, and stops.
    [[noreturn]] void FailOn(int id, const std::string& message);

    CDialog* m_pDlgWnd;
    bool m_bSaveAndValidate = false;
    // No values move: only DDX_Control takes effect.
    bool m_bBinding = false;
    // The last box exchanged, which a range check that follows refers to.
    int m_idLastControl = 0;
};

// The member widget is built as the template's control of that id.
void DDX_Control(CDataExchange* pDX, int id, QWidget& control);
// A signed number in a box; a text that is not one gives message 61712.
void DDX_Text(CDataExchange* pDX, int id, std::int32_t& value);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
// An unsigned number in a box; a text that is not one gives message 61719.
void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value);
// A check box: 1 ticked, 0 clear.
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The index of the checked radio button of the group that starts at the control; -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// A value read from the last box outside the range gives message 61714 for that box.
void DDV_MinMaxUInt(CDataExchange* pDX, std::uint32_t value, std::uint32_t minimum,
                    std::uint32_t maximum);
