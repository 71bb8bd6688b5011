#pragma once

#include "Announcer.h"
#include "AnswerEdit.h"
#include "Commands.h"
#include "DesktopNotification.h"
#include "Dialog.h"
#include "Exit.h"
#include "PanelStatic.h"
#include "PopupWait.h"
#include "QuestionFile.h"
#include "QuizHost.h"
#include "SkinButton.h"

#include <QByteArray>
#include <QColor>
#include <QTimer>

class CFileDialog;
class QSystemTrayIcon;

// The program's one main window: shows a question, checks the typed answer and moves the drill
// on through the review schedule. It owns the open data file for the whole run.
class CQuizDlg : public CDialog {
public:
    explicit CQuizDlg(IQuizHost& host, QWidget* parent = nullptr);

    void DestroyWindow() override;

    // Shows the window in front with the keyboard in the answer box, taking the focus with the
    // activation token when one came with the request.
    void PopUp(const QByteArray& activationToken = {});
    // The desktop shows the icon in a tray (XEmbed or StatusNotifierItem).
    bool IsTrayShown() const;
    // Neither hidden nor minimised.
    bool IsShownToUser() const;
    // Hidden by the program (withdrawn, or minimised on an X11 desktop without a tray) until the
    // pop-up: the timer runs only then, and once it has fired the window waits for the user to
    // pause.
    bool IsWaitingToPopUp() const {
        return IsTimerRunning(ID_POPUP_TIMER) || m_popupWait.IsWaiting();
    }

    const CQuestionFile& File() const { return m_file; }

    enum : int { ID_POPUP_TIMER = 0 };

protected:
    bool OnInitDialog() override;
    void DoDataExchange(CDataExchange* pDX) override;
    void OnOK() override;
    void OnCancel() override;
    bool OnCommand(int id) override;
    void OnTimer(int id) override;
    void OnUserMessage(unsigned message, std::intptr_t wParam) override;

    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;

private:
    // Commands, reached through the command table and the answer box's keys.
    void ShowQuestion(bool advance);
    void RevealAnswer();
    void OnNext();
    void OnGo();
    void OnEditQuestion();
    void OnFunction();
    void OnMemorySchedule();
    void OnOption();
    void OnNewFile();
    void OnOpenFile();
    void OnUsersManual();
    void OnAbout();
    // Starts the pop-up timer and hides the window: withdrawn where a tray shows the icon and on
    // Wayland, minimised on an X11 desktop without a tray, where nothing else could bring it back.
    void HideToTray();

    void UpdateTitle();
    void StartPopupTimer();
    void OnAnswerKey(std::intptr_t code);
    void CheckAnswer();
    // Screen readers say the question shown, where the keyboard stays.
    void AnnounceQuestion();
    void FinishStart();
    void AddTrayIcon();
    void KeepPlace();
    std::string Caption() const;
    void StoreTitle();
    void CreatePanel();
    void SetUpButtons();
    void OnShowWindow();
    void NoticeIfFocusRefused();
    void NoticeQuestionWaiting();
    void ShowAgain();
    void ComeBack(CPopupWait::Way way);
    void SwitchFile(CFileDialog& dialog, StoreStatus (CQuestionFile::*open)());
    void OpenChosen(std::string path, StoreStatus (CQuestionFile::*open)());

    static const CommandEntry<CQuizDlg> kCommands[];

    IQuizHost& m_host;
    CQuestionFile m_file;
    QuestionRecord m_current;
    QColor m_clrStatic;
    CPanelStatic m_panel;
    CSkinButton m_btnGo;
    CSkinButton m_btnNext;
    CSkinButton m_btnFunction;
    CSkinButton m_btnHide;
    CSkinButton m_btnEdit;
    CSkinButton m_btnAnswer;
    CAnswerEdit m_answerBox;
    // Made once the first question is on screen; a child of the window.
    QSystemTrayIcon* m_trayIcon = nullptr;
    // Says that a question waits when the desktop refused the pop-up its focus.
    CDesktopNotification m_notice;
    CPopupWait m_popupWait;
    // Reads each new question out to screen readers.
    CAnnouncer m_announcer;
    QTimer m_focusWait;
    ExitHandler m_previousExitHandler;
    bool m_bStartFinished = false;
};
