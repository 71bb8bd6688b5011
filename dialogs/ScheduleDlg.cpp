#include "ScheduleDlg.h"

#include "DataExchange.h"
#include "GotoDlg.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "Strings.h"

const CommandEntry<CScheduleDlg> CScheduleDlg::kCommands[] = {
    {IDC_SCHEDULE_FROM, &CScheduleDlg::OnFrom},
    {IDC_SCHEDULE_TO, &CScheduleDlg::OnTo},
};

CScheduleDlg::CScheduleDlg(QWidget* parent) : CDialog(IDD_SCHEDULE, parent) {}

bool CScheduleDlg::OnCommand(int id) {
    return DispatchCommand<CScheduleDlg>(this, kCommands, id) || CDialog::OnCommand(id);
}

bool CScheduleDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    rangeFrom = file->Header().rangeFrom;
    rangeTo = file->Header().rangeTo;
    UpdateRangeButtons();
    return true;
}

void CScheduleDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Radio(pDX, IDC_SCHEDULE_CAREFUL, reviewMode);
    DDX_Check(pDX, IDC_SCHEDULE_INIT_RECORDS, initRecords);
}

void CScheduleDlg::UpdateRangeButtons() {
    SetDlgItemText(IDC_SCHEDULE_FROM, FormatPrintf("From: %3d", {rangeFrom + 1}));
    SetDlgItemText(IDC_SCHEDULE_TO, FormatPrintf("To: %3d", {rangeTo + 1}));
}

int CScheduleDlg::AskQuestionNumber(int preset) {
    CGotoDlg go(this);
    go.m_nTarget = preset;
    go.m_strRange = FormatString(IDS_RANGE_ONE_TO, kMaxQuestions);
    if (go.DoModal() != IDOK || go.m_nTarget < 1 || go.m_nTarget > kMaxQuestions)
        return 0;
    return go.m_nTarget;
}

void CScheduleDlg::OnFrom() {
    if (const int n = AskQuestionNumber(rangeFrom + 1)) {
        rangeFrom = n - 1;
        if (rangeTo < rangeFrom)
            rangeTo = rangeFrom;
        UpdateRangeButtons();
    }
}

void CScheduleDlg::OnTo() {
    if (const int n = AskQuestionNumber(rangeTo + 1)) {
        rangeTo = n - 1;
        if (rangeTo < rangeFrom)
            rangeFrom = rangeTo;
        UpdateRangeButtons();
    }
}
