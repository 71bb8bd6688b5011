#include "OptionDlg.h"

#include "DataExchange.h"
#include "QuestionFileHeader.h"

void COptionDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Check(pDX, IDC_OPTION_NO_SHOW_AT_START, m_bNoShowAtStart);
    DDX_Check(pDX, IDC_OPTION_HIDE_IF_CORRECT, m_bHideIfCorrect);
    DDX_Text(pDX, IDC_OPTION_PERIOD, m_nPopupMinutes);
    DDV_MinMaxUInt(pDX, m_nPopupMinutes, 0, kLongestPopupMinutes);
    DDX_Check(pDX, IDC_OPTION_SOUND_ON, m_bSoundOn);
    DDX_Check(pDX, IDC_OPTION_MATCH_CASE, m_bMatchCase);
}
