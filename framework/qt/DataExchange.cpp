#include "DataExchange.h"

#include "Dialog.h"
#include "EditBoxes.h"
#include "MessageBox.h"
#include "NumberParsing.h"
#include "ResourceIds.h"
#include "Strings.h"

#include <string>

void CDataExchange::FailOn(int id, const std::string& message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    FocusAndSelectAll(m_pDlgWnd->GetDlgItem(id));
    Fail();
}

void DDX_Control(CDataExchange* pDX, int id, QWidget& control) {
    if (!pDX->m_bSaveAndValidate)
        pDX->m_pDlgWnd->ReplaceControl(id, control);
}

void DDX_Text(CDataExchange* pDX, int id, std::int32_t& value) {
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(id, std::to_string(value));
        return;
    }
    const auto parsed = ParseSignedInteger(pDX->m_pDlgWnd->GetDlgItemText(id));
    if (!parsed)
        pDX->FailOn(id, LoadString(IDS_PARSE_INT));
    value = *parsed;
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}
