#include "DataExchange.h"

#include "Dialog.h"
#include "EditBoxes.h"
#include "MessageBox.h"
#include "NumberParsing.h"
#include "ResourceIds.h"
#include "Strings.h"

#include <QAbstractButton>
#include <QButtonGroup>

#include <string>

void CDataExchange::FailOn(int id, const std::string& message) {
    AfxMessageBox(message, MB_ICONEXCLAMATION);
    FocusAndSelectAll(m_pDlgWnd->GetDlgItem(id));
    Fail();
}

namespace {

// A number in a text box; text that does not parse fails with the message of the string.
template <typename Number, typename Parse>
void ExchangeNumber(CDataExchange* pDX, int id, Number& value, Parse parse, unsigned failureId) {
    pDX->m_idLastControl = id;
    if (pDX->m_bBinding)
        return;
    if (!pDX->m_bSaveAndValidate) {
        pDX->m_pDlgWnd->SetDlgItemText(id, std::to_string(value));
        return;
    }
    const auto parsed = parse(pDX->m_pDlgWnd->GetDlgItemText(id));
    if (!parsed)
        pDX->FailOn(id, LoadString(failureId));
    value = *parsed;
}

} // namespace

void DDX_Control(CDataExchange* pDX, int id, QWidget& control) {
    if (pDX->m_bBinding)
        pDX->m_pDlgWnd->BindControl(id, control);
}

void DDX_Text(CDataExchange* pDX, int id, std::int32_t& value) {
    ExchangeNumber(pDX, id, value, ParseSignedInteger, IDS_PARSE_INT);
}

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
    if (pDX->m_bBinding)
        return;
    if (pDX->m_bSaveAndValidate)
        value = pDX->m_pDlgWnd->GetDlgItemText(id);
    else
        pDX->m_pDlgWnd->SetDlgItemText(id, value);
}

void DDX_Text(CDataExchange* pDX, int id, std::uint32_t& value) {
    ExchangeNumber(pDX, id, value, ParseUnsignedInteger, IDS_PARSE_UINT);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
    auto* box = qobject_cast<QAbstractButton*>(pDX->m_pDlgWnd->GetDlgItem(id));
    if (!box || pDX->m_bBinding)
        return;
    if (pDX->m_bSaveAndValidate)
        value = box->isChecked() ? 1 : 0;
    else
        box->setChecked(value == 1);
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
    QButtonGroup* group = pDX->m_pDlgWnd->RadioGroupAt(id);
    if (!group || pDX->m_bBinding)
        return;
    const QList<QAbstractButton*> buttons = group->buttons();
    if (pDX->m_bSaveAndValidate) {
        value = static_cast<int>(buttons.indexOf(group->checkedButton()));
        return;
    }
    // An exclusive group cannot be cleared, and -1 leaves every button clear.
    group->setExclusive(false);
    for (qsizetype i = 0; i < buttons.size(); ++i)
        buttons[i]->setChecked(i == value);
    group->setExclusive(true);
}

void DDV_MinMaxUInt(CDataExchange* pDX, std::uint32_t value, std::uint32_t minimum,
                    std::uint32_t maximum) {
    if (pDX->m_bSaveAndValidate && (value < minimum || value > maximum))
        pDX->FailOn(pDX->m_idLastControl,
                    FormatPositional(LoadString(IDS_PARSE_INT_RANGE),
                                     {std::to_string(minimum), std::to_string(maximum)}));
}
