#pragma once

#include "Dialog.h"

#include <cstdint>

// The pop-up period and the four switches of the open data file.
class COptionDlg : public CDialog {
public:
    explicit COptionDlg(QWidget* parent) : CDialog(IDD_OPTION, parent) {}

    int m_bNoShowAtStart = 0;
    int m_bHideIfCorrect = 0;
    std::uint32_t m_nPopupMinutes = 0;
    int m_bSoundOn = 0;
    int m_bMatchCase = 0;

protected:
    void DoDataExchange(CDataExchange* pDX) override;
};
