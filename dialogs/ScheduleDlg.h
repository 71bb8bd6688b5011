#pragma once

#include "Commands.h"
#include "Dialog.h"
#include "QuestionFile.h"

#include <cstdint>

// Chooses the question range, the review mode and whether the range's memory records are to be
// cleared. The range is entered through the go-to dialog and kept ordered.
class CScheduleDlg : public CDialog {
public:
    explicit CScheduleDlg(QWidget* parent);

    std::int32_t rangeFrom = 0;
    std::int32_t rangeTo = 0;
    CQuestionFile* file = nullptr;
    // The checked review mode, 0 to 3, or -1 for none.
    std::int32_t reviewMode = -1;
    int initRecords = 0;

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    bool OnCommand(int id) override;

private:
    void UpdateRangeButtons();
    void OnFrom();
    void OnTo();
    // The number chosen in the go-to dialog, 1 to 1000, or 0 when none was.
    int AskQuestionNumber(int preset);

    static const CommandEntry<CScheduleDlg> kCommands[];
};
