#pragma once

#include "Commands.h"
#include "Dialog.h"
#include "QuestionFile.h"

#include <string>

// Writes and changes the questions of the open data file, one record at a time. The texts of
// the record shown are stored when the user leaves it or presses Return; Escape drops them.
class CQuestionEditDlg : public CDialog {
public:
    explicit CQuestionEditDlg(QWidget* parent);

    CQuestionFile* m_pFile = nullptr;
    // Its number is the dialog's position: set by the caller, moved by the navigation.
    QuestionRecord m_record;
    std::string m_strQuestion;
    std::string m_strAnswer;
    int m_nShown = -1;

protected:
    bool OnInitDialog() override;
    void OnOK() override;
    bool OnCommand(int id) override;

private:
    void ShowRecord();
    void StoreEdits();
    void OnGotoRecord();
    void OnPrevRecord();
    void OnNextRecord();
    void OnNewRecord();

    static const CommandEntry<CQuestionEditDlg> kCommands[];

    // The boxes' texts as they came back right after the record was shown.
    std::string m_shownQuestion;
    std::string m_shownAnswer;
};
