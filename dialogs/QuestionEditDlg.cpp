#include "QuestionEditDlg.h"

#include "EditBoxes.h"
#include "GotoDlg.h"
#include "MessageBox.h"
#include "ResourceIds.h"
#include "StoreFailure.h"
#include "Strings.h"

const CommandEntry<CQuestionEditDlg> CQuestionEditDlg::kCommands[] = {
    {IDC_EDIT_POSITION, &CQuestionEditDlg::OnGotoRecord},
    {IDC_EDIT_PREVIOUS, &CQuestionEditDlg::OnPrevRecord},
    {IDC_EDIT_NEXT, &CQuestionEditDlg::OnNextRecord},
    {IDC_EDIT_NEW, &CQuestionEditDlg::OnNewRecord},
};

CQuestionEditDlg::CQuestionEditDlg(QWidget* parent) : CDialog(IDD_QUESTION_EDIT, parent) {}

bool CQuestionEditDlg::OnCommand(int id) {
    return DispatchCommand<CQuestionEditDlg>(this, kCommands, id) || CDialog::OnCommand(id);
}

bool CQuestionEditDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    for (int id : {IDC_EDIT_QUESTION, IDC_EDIT_ANSWER})
        dynamic_cast<CDialogTextBox&>(*GetDlgItem(id)).LimitText(kTextSize - 1);
    ShowRecord();
    return true;
}

void CQuestionEditDlg::ShowRecord() {
    const int position = m_record.number;
    // Also before showing the same record again: what was typed stays, stored.
    if (m_nShown != -1)
        StoreEdits();
    ExitOnFailure(m_pFile->ReadRecord(position, m_record));
    SetDlgItemText(IDC_EDIT_POSITION,
                   FormatPrintf("%d of %d", {position + 1, m_pFile->Header().recordCount}));
    SetDlgItemText(IDC_EDIT_QUESTION, std::string(FieldText(m_record.question)));
    SetDlgItemText(IDC_EDIT_ANSWER, std::string(FieldText(m_record.answer)));
    m_shownQuestion = GetDlgItemText(IDC_EDIT_QUESTION);
    m_shownAnswer = GetDlgItemText(IDC_EDIT_ANSWER);
    m_nShown = position;
    GetDlgItem(IDC_EDIT_QUESTION)->setFocus();
}

// A box shows some texts not quite as stored (a carriage return as a line break): what counts
// is whether the user changed a box, and a box left alone keeps its record's bytes.
void CQuestionEditDlg::StoreEdits() {
    m_strQuestion = GetDlgItemText(IDC_EDIT_QUESTION);
    m_strAnswer = GetDlgItemText(IDC_EDIT_ANSWER);
    const bool questionEdited = m_strQuestion != m_shownQuestion;
    const bool answerEdited = m_strAnswer != m_shownAnswer;
    if (!questionEdited && !answerEdited)
        return;
    ExitOnFailure(m_pFile->UpdateTexts(
        m_nShown, questionEdited ? m_strQuestion : FieldText(m_record.question),
        answerEdited ? m_strAnswer : FieldText(m_record.answer)));
}

void CQuestionEditDlg::OnOK() {
    StoreEdits();
    CDialog::OnOK();
}

void CQuestionEditDlg::OnPrevRecord() {
    if (m_record.number > 0) {
        m_record.number -= 1;
        ShowRecord();
    }
}

void CQuestionEditDlg::OnNextRecord() {
    if (m_record.number < m_pFile->Header().recordCount - 1) {
        m_record.number += 1;
        ShowRecord();
    }
}

void CQuestionEditDlg::OnGotoRecord() {
    CGotoDlg go(this);
    go.m_nTarget = m_record.number + 1;
    go.m_strRange = FormatString(IDS_RANGE_ONE_TO, m_pFile->Header().recordCount);
    if (go.DoModal() == IDOK && go.m_nTarget >= 1 &&
        go.m_nTarget <= m_pFile->Header().recordCount) {
        m_record.number = go.m_nTarget - 1;
        ShowRecord();
    }
}

void CQuestionEditDlg::OnNewRecord() {
    if (m_pFile->Header().recordCount >= kMaxQuestions) {
        AfxMessageBox(IDS_QUESTION_LIMIT, MB_ICONEXCLAMATION);
        return;
    }
    ExitOnFailure(m_pFile->AppendRecord());
    m_record.number = m_pFile->Header().recordCount - 1;
    ShowRecord();
}
