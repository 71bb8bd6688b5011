#include "GotoDlg.h"

#include "DataExchange.h"
#include "EditBoxes.h"

CGotoDlg::CGotoDlg(QWidget* parent) : CDialog(IDD_GOTO, parent) {}

bool CGotoDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    FocusAndSelectAll(GetDlgItem(IDC_GOTO_NUMBER));
    return true;
}

void CGotoDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Text(pDX, IDC_GOTO_NUMBER, m_nTarget);
    DDX_Text(pDX, IDC_GOTO_RANGE, m_strRange);
}
