#pragma once

#include "Dialog.h"

#include <cstdint>
#include <string>

// Asks for one question number; the caller presets it with the allowed range in words, and
// checks the number against its own range afterwards.
class CGotoDlg : public CDialog {
public:
    explicit CGotoDlg(QWidget* parent);

    std::int32_t m_nTarget = 0;
    std::string m_strRange;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
};
