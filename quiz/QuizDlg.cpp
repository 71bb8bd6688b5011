#include "QuizDlg.h"

#include "AboutDlg.h"
#include "AnswerCheck.h"
#include "AnswerKeys.h"
#include "BackgroundImage.h"
#include "DataExchange.h"
#include "DeckConversion.h"
#include "DesktopServices.h"
#include "FileDialog.h"
#include "GotoDlg.h"
#include "Icons.h"
#include "Menus.h"
#include "MessageBox.h"
#include "OptionDlg.h"
#include "PopupMenu.h"
#include "QtText.h"
#include "QuestionEditDlg.h"
#include "ResourceIds.h"
#include "ScheduleDlg.h"
#include "SkinMap.h"
#include "StoreFailure.h"
#include "Strings.h"
#include "TrayHost.h"
#include "WindowActivation.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDropEvent>
#include <QFocusEvent>
#include <QMenu>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QShowEvent>
#include <QSystemTrayIcon>
#include <QWindow>

#include <algorithm>
#include <climits>

namespace {

// How long a pop-up waits for the keyboard before it says by a notification that a question waits.
constexpr int kFocusWaitMs = 3000;

} // namespace

const CommandEntry<CQuizDlg> CQuizDlg::kCommands[] = {
    {IDC_EDIT, &CQuizDlg::OnEditQuestion},
    {IDC_HIDE, &CQuizDlg::HideToTray},
    {IDC_ANSWER, &CQuizDlg::RevealAnswer},
    {IDC_NEXT, &CQuizDlg::OnNext},
    {IDC_GO, &CQuizDlg::OnGo},
    {IDC_FUNCTION, &CQuizDlg::OnFunction},
    {ID_MEMORY_SCHEDULE, &CQuizDlg::OnMemorySchedule},
    {ID_OPTION, &CQuizDlg::OnOption},
    {ID_NEW_FILE, &CQuizDlg::OnNewFile},
    {ID_OPEN_FILE, &CQuizDlg::OnOpenFile},
    {ID_USERS_MANUAL, &CQuizDlg::OnUsersManual},
    {ID_ABOUT, &CQuizDlg::OnAbout},
};

CQuizDlg::CQuizDlg(IQuizHost& host, QWidget* parent)
    : CDialog(IDD_QUIZ, parent), m_host(host), m_file(host), m_answerBox(host.GetDisplayColors()),
      m_notice([this](const QByteArray& token) { PopUp(token); }, [this] { HideToTray(); }),
      m_popupWait([this](CPopupWait::Way way) { ComeBack(way); }), m_announcer(this) {
    m_focusWait.setSingleShot(true);
    m_focusWait.setInterval(kFocusWaitMs);
    connect(&m_focusWait, &QTimer::timeout, this, &CQuizDlg::NoticeIfFocusRefused);
    // A click on the window while one of its dialogs is open: the keyboard goes on to the dialog,
    // which would else stay below the window on some compositors (sway) and miss the keys.
    connect(qApp, &QGuiApplication::focusWindowChanged, this, [this](QWindow* focus) {
        QWidget* dialog = QApplication::activeModalWidget();
        if (focus && focus == windowHandle() && dialog && dialog != this)
            ActivateWindow(*dialog, {});
    });
}

void CQuizDlg::DoDataExchange(CDataExchange* pDX) {
    DDX_Control(pDX, IDC_GO, m_btnGo);
    DDX_Control(pDX, IDC_NEXT, m_btnNext);
    DDX_Control(pDX, IDC_FUNCTION, m_btnFunction);
    DDX_Control(pDX, IDC_HIDE, m_btnHide);
    DDX_Control(pDX, IDC_EDIT, m_btnEdit);
    DDX_Control(pDX, IDC_ANSWER, m_btnAnswer);
    DDX_Control(pDX, IDC_ANSWER_BOX, m_answerBox);
}

bool CQuizDlg::OnInitDialog() {
    CDialog::OnInitDialog();
    EnableToolTips();
    // A file dropped anywhere on the window opens, on the answer box too (not as its text).
    setAcceptDrops(true);
    m_answerBox.setAcceptDrops(false);
    TakeEscapePress();
    LoadBackgroundImage(m_host.GetProgramFolder());
    CreatePanel();
    ExitOnFailure(m_file.Load());
    ShowQuestion(true);
    UpdateTitle();
    if (m_file.Header().optionFlags & OPT_NO_SHOW_AT_START)
        PostCommand(IDC_HIDE);
    SetUpButtons();
    m_clrStatic = m_host.GetDisplayColors() > 256 ? QColor(246, 206, 173) : QColor(192, 192, 192);
    // The skin's colours whatever the desktop's theme: dark text on the static colour.
    for (int id : {IDC_QUESTION_FIELD, IDC_QUESTION_TEXT}) {
        QWidget* label = GetDlgItem(id);
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, m_clrStatic);
        colours.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(colours);
        label->setAutoFillBackground(true);
    }
    return true;
}

// What the user need not wait for, once the first question is on screen (or the window hides
// before that): the window icon, the tray icon and the stored caption.
void CQuizDlg::FinishStart() {
    if (m_bStartFinished)
        return;
    m_bStartFinished = true;
    setWindowIcon(LoadAppIcon(IDI_PROGRAM));
    WhenTrayHostReady(this, [this] { AddTrayIcon(); });
    StoreTitle();
}

// The panel sits at the top of the button column, beside the Edit button's left edge.
void CQuizDlg::CreatePanel() {
    m_panel.setParent(this);
    m_panel.setGeometry(GetDlgItem(IDC_EDIT)->x() - 2, 10, kSkinPanel.width, kSkinPanel.height);
    m_panel.show();
    RegisterControl(IDC_PANEL, &m_panel);
}

void CQuizDlg::SetUpButtons() {
    for (CSkinButton* button :
         {&m_btnEdit, &m_btnFunction, &m_btnAnswer, &m_btnGo, &m_btnNext, &m_btnHide}) {
        const SkinPiece& face =
            button == &m_btnGo || button == &m_btnNext ? kSkinSmallFace : kSkinLargeFace;
        button->SetStripPos(face.x, face.y, face.width, face.height, 0);
    }
}

// The background is the picture's tile, over and over.
void CQuizDlg::paintEvent(QPaintEvent* event) {
    if (!m_bStartFinished)
        QMetaObject::invokeMethod(this, &CQuizDlg::FinishStart, Qt::QueuedConnection);
    if (!GetBackBitmap()) {
        CDialog::paintEvent(event);
        return;
    }
    QPainter painter(this);
    const QRect tile = kSkinTile.Rect();
    for (int x = 0; x < width(); x += tile.width())
        for (int y = 0; y < height(); y += tile.height())
            CopyFromBackground(painter, QPoint(x, y), tile);
}

bool CQuizDlg::OnCommand(int id) {
    return DispatchCommand<CQuizDlg>(this, kCommands, id) || CDialog::OnCommand(id);
}

void CQuizDlg::OnUserMessage(unsigned message, std::intptr_t wParam) {
    if (message == WM_ANSWERKEY)
        OnAnswerKey(wParam);
}

// The answer box's key commands.
void CQuizDlg::OnAnswerKey(std::intptr_t code) {
    switch (code) {
    case KEYCMD_ANSWER:
        CheckAnswer();
        break;
    case KEYCMD_EDIT:
        OnEditQuestion();
        break;
    case KEYCMD_FUNCTION:
        OnFunction();
        break;
    case KEYCMD_NEXT:
        OnNext();
        break;
    case KEYCMD_GO:
        OnGo();
        break;
    default:
        break;
    }
}

void CQuizDlg::ShowQuestion(bool advance) {
    ExitOnFailure(advance ? m_file.NextQuestion(m_current)
                          : m_file.ReadRecord(m_current.number, m_current));
    m_panel.SetInfo(CPanelStatic::LevelOf(m_current.correctCount), m_current.number + 1,
                    m_file.Header());
    if (FieldText(m_current.question).empty())
        SetFieldText(m_current.question, LoadString(IDS_EMPTY_QUESTION));
    SetDlgItemText(IDC_QUESTION_TEXT, std::string(FieldText(m_current.question)));
    // Out of sight, the window says it when it gets the keyboard back.
    if (isVisible())
        AnnounceQuestion();
    if (advance)
        m_answerBox.clear();
    m_answerBox.setFocus();
}

void CQuizDlg::AnnounceQuestion() {
    m_announcer.Announce(ToQString(std::string(FieldText(m_current.question))));
}

void CQuizDlg::CheckAnswer() {
    const std::string typed = ToStdString(m_answerBox.toPlainText());
    const bool matchCase = m_file.Header().optionFlags & OPT_MATCH_CASE;
    if (!AnswersMatch(typed, FieldText(m_current.answer), matchCase)) {
        RevealAnswer();
        return;
    }
    ExitOnFailure(m_file.RecordCorrectAnswer(m_current.number));
    ShowQuestion(true);
    if (m_file.Header().optionFlags & OPT_HIDE_IF_CORRECT)
        HideToTray();
}

void CQuizDlg::RevealAnswer() {
    ShowMessageBox(std::string(FieldText(m_current.answer)), LoadString(IDS_CORRECT_ANSWER_CAPTION),
                   MB_OK);
    m_answerBox.setFocus();
}

void CQuizDlg::OnNext() {
    ShowQuestion(true);
}

// Continues the drill at a chosen question of the range.
void CQuizDlg::OnGo() {
    CGotoDlg go(this);
    const auto& h = m_file.Header();
    go.m_nTarget = m_current.number + 1;
    go.m_strRange = FormatString(IDS_RANGE_FROM_TO, h.rangeFrom + 1, h.rangeTo + 1);
    if (go.DoModal() == IDOK) {
        const int n = go.m_nTarget;
        if (n >= h.rangeFrom + 1 && n <= h.rangeTo + 1) {
            ExitOnFailure(m_file.GoTo(n - 1));
            ShowQuestion(true);
        } else if (n <= kMaxQuestions) {
            AfxMessageBox(FormatString(IDS_GO_OUTSIDE_RANGE, n));
        }
    }
    m_answerBox.setFocus();
}

// The current question stays current whatever the editor did; its new texts show at once.
void CQuizDlg::OnEditQuestion() {
    CQuestionEditDlg editor(this);
    editor.m_pFile = &m_file;
    editor.m_record.number = m_current.number;
    editor.DoModal();
    ShowQuestion(false);
}

std::string CQuizDlg::Caption() const {
    return LoadString(IDS_VERSION_TITLE) + " - " + m_file.GetFileTitle();
}

void CQuizDlg::UpdateTitle() {
    setWindowTitle(ToQString(Caption()));
    if (m_bStartFinished)
        StoreTitle();
}

// The caption's own bytes: a file name that is not UTF-8 has no QString of its own.
void CQuizDlg::StoreTitle() {
    m_host.StoreCaption(Caption());
}

void CQuizDlg::OnOK() {}

void CQuizDlg::OnCancel() {
    if (TakeEscapePress())
        HideToTray();
    else
        EndDialog(IDCANCEL);
}

void CQuizDlg::StartPopupTimer() {
    const long long period =
        std::clamp<long long>(m_file.Header().popupMinutes * 60000LL, 0, INT_MAX);
    SetTimer(ID_POPUP_TIMER, static_cast<int>(period));
}

// The icon stays for the whole run; without a tray to hold it, hiding minimises the window. A
// StatusNotifierItem host keeps the right button for the icon's menu, so the menu's first item
// brings the window back.
void CQuizDlg::AddTrayIcon() {
    m_trayIcon = new QSystemTrayIcon(this);
    m_trayIcon->setIcon(LoadAppIcon(IDI_TRAY));
    m_trayIcon->setToolTip(ToQString(LoadString(IDS_APP_TITLE)));
    auto* menu = new QMenu(this);
    menu->addAction(ToQString(LoadString(IDS_TRAY_SHOW)), this, [this] { PopUp(); });
    m_trayIcon->setContextMenu(menu);
    connect(m_trayIcon, &QSystemTrayIcon::activated, this,
            [this](QSystemTrayIcon::ActivationReason reason) {
                if (reason != QSystemTrayIcon::MiddleClick && reason != QSystemTrayIcon::Unknown)
                    PopUp();
            });
    m_trayIcon->show();
    // A data-file failure ends the program at once: the icon goes first.
    m_previousExitHandler = SetExitHandler([this](int status) {
        m_trayIcon->hide();
        if (m_previousExitHandler)
            m_previousExitHandler(status);
    });
}

bool CQuizDlg::IsTrayShown() const {
    return m_trayIcon && QSystemTrayIcon::isSystemTrayAvailable() && m_trayIcon->isVisible();
}

// Where the tray holds the icon, hiding withdraws the window. On Wayland it is withdrawn too,
// since a client cannot undo a minimise there: the timer and a second start bring it back.
// Elsewhere it is minimised, so that the task bar can bring it back.
void CQuizDlg::HideToTray() {
    FinishStart();
    m_popupWait.Stop();
    StartPopupTimer();
    m_focusWait.stop();
    m_notice.Withdraw();
    // A window hidden before it was ever active gets no focus-out, and the text cursor would go
    // on blinking, waking the program twice a second while it waits.
    QFocusEvent focusOut(QEvent::FocusOut, Qt::ActiveWindowFocusReason);
    QCoreApplication::sendEvent(&m_answerBox, &focusOut);
    KeepPlace();
    if (IsTrayShown() || IsWaylandSession())
        hide();
    else
        showMinimized();
}

// Shown again, a dialog that was never placed by the program is centred anew: the window keeps
// the place where the user left it.
void CQuizDlg::KeepPlace() {
    move(pos());
}

// Shows the withdrawn window, or restores the minimised one.
void CQuizDlg::ShowAgain() {
    if (isMinimized()) {
        showNormal();
        OnShowWindow();
    } else {
        show();
    }
}

void CQuizDlg::PopUp(const QByteArray& activationToken) {
    ShowAgain();
    ActivateWindow(*this, activationToken);
    KillTimer(ID_POPUP_TIMER);
    m_popupWait.Stop();
    m_answerBox.setFocus();
    // Activation is answered later: whether the desktop gave the keyboard is seen after a while.
    m_focusWait.start();
}

// The window is back in sight but the desktop kept the keyboard elsewhere: a notification says
// that a question waits, and its action brings the keyboard with the server's token.
void CQuizDlg::NoticeIfFocusRefused() {
    if (IsShownToUser() && !isActiveWindow())
        NoticeQuestionWaiting();
}

void CQuizDlg::NoticeQuestionWaiting() {
    m_notice.Show(ToQString(LoadString(IDS_QUESTION_WAITING)),
                  ToQString(std::string(FieldText(m_current.question))),
                  ToQString(LoadString(IDS_ANSWER_ACTION)),
                  ToQString(LoadString(IDS_LATER_ACTION)));
}

// The period is over and the user has paused. Where the desktop tells nothing of the user's
// keys, the window comes into sight without taking them, and the notification's action brings
// the keyboard.
void CQuizDlg::ComeBack(CPopupWait::Way way) {
    if (way == CPopupWait::WAY_WITH_KEYBOARD) {
        PopUp();
        return;
    }
    setAttribute(Qt::WA_ShowWithoutActivating);
    ShowAgain();
    raise();
    setAttribute(Qt::WA_ShowWithoutActivating, false);
    m_answerBox.setFocus();
    NoticeQuestionWaiting();
}

bool CQuizDlg::IsShownToUser() const {
    return isVisible() && !isMinimized();
}

void CQuizDlg::OnTimer(int id) {
    if (id == ID_POPUP_TIMER) {
        KillTimer(ID_POPUP_TIMER);
        m_popupWait.Start();
    }
}

void CQuizDlg::DestroyWindow() {
    KillTimer(ID_POPUP_TIMER);
    m_popupWait.Stop();
    m_focusWait.stop();
    m_notice.Withdraw();
    if (m_file.IsOpen())
        ExitOnFailure(m_file.SaveAndClose());
    if (m_trayIcon) {
        m_trayIcon->hide();
        SetExitHandler(std::move(m_previousExitHandler));
    }
    FreeBackgroundImage();
}

void CQuizDlg::showEvent(QShowEvent* event) {
    if (!event->spontaneous())
        OnShowWindow();
    CDialog::showEvent(event);
}

// Every showing plays the sound when the file's options say so.
void CQuizDlg::OnShowWindow() {
    if (m_file.Header().optionFlags & OPT_SOUND_ON)
        PlaySoundFile(m_host.GetProgramFolder() + "Quillow.wav");
}

// Drops the menu down under the Function button; the command chosen runs once it has closed.
void CQuizDlg::OnFunction() {
    const QWidget* button = GetDlgItem(IDC_FUNCTION);
    const int command =
        TrackPopupMenu(IDR_FUNCTION_MENU, button->mapToGlobal(QPoint(0, button->height() + 1)));
    m_answerBox.setFocus();
    if (command != 0)
        PostCommand(command);
}

// A new range or mode restarts the drill at the range's first question.
void CQuizDlg::OnMemorySchedule() {
    CScheduleDlg dialog(this);
    dialog.reviewMode = m_file.Header().reviewMode;
    dialog.initRecords = 0;
    dialog.file = &m_file;
    if (dialog.DoModal() != IDOK)
        return;
    // No mode checked keeps the file's own.
    ExitOnFailure(m_file.SetSchedule(dialog.rangeFrom, dialog.rangeTo, dialog.reviewMode));
    if (dialog.initRecords &&
        AfxMessageBox(IDS_INIT_MEMORY_RECORDS, MB_YESNO | MB_ICONQUESTION) == IDYES)
        ExitOnFailure(m_file.InitMemoryRecords());
    ShowQuestion(true);
}

// A new period restarts a running pop-up timer; the switches are stored as they are set.
void CQuizDlg::OnOption() {
    const auto& h = m_file.Header();
    COptionDlg dialog(this);
    dialog.m_nPopupMinutes = static_cast<std::uint32_t>(h.popupMinutes);
    dialog.m_bNoShowAtStart = (h.optionFlags & OPT_NO_SHOW_AT_START) ? 1 : 0;
    dialog.m_bHideIfCorrect = (h.optionFlags & OPT_HIDE_IF_CORRECT) ? 1 : 0;
    dialog.m_bSoundOn = (h.optionFlags & OPT_SOUND_ON) ? 1 : 0;
    dialog.m_bMatchCase = (h.optionFlags & OPT_MATCH_CASE) ? 1 : 0;
    if (dialog.DoModal() != IDOK)
        return;
    const auto minutes = static_cast<std::int32_t>(dialog.m_nPopupMinutes);
    const bool newPeriod = minutes != h.popupMinutes;
    ExitOnFailure(
        m_file.SetOptions(minutes, (dialog.m_bNoShowAtStart ? OPT_NO_SHOW_AT_START : 0) |
                                       (dialog.m_bHideIfCorrect ? OPT_HIDE_IF_CORRECT : 0) |
                                       (dialog.m_bSoundOn ? OPT_SOUND_ON : 0) |
                                       (dialog.m_bMatchCase ? OPT_MATCH_CASE : 0)));
    if (newPeriod && !IsShownToUser()) {
        KillTimer(ID_POPUP_TIMER);
        StartPopupTimer();
    }
}

void CQuizDlg::OnNewFile() {
    CFileDialog dialog(false, "qld", "untitled", OFN_OVERWRITEPROMPT, LoadString(IDS_QLD_FILTER));
    dialog.SetTitle(LoadString(IDS_NEW_FILE_TITLE));
    SwitchFile(dialog, &CQuestionFile::CreateNew);
}

void CQuizDlg::OnOpenFile() {
    CFileDialog dialog(true, "qld", "", OFN_FILEMUSTEXIST,
                       WithOtherDecks(LoadString(IDS_QLD_FILTER)));
    dialog.SetTitle(LoadString(IDS_OPEN_FILE_TITLE));
    SwitchFile(dialog, &CQuestionFile::Load);
}

// The current file is saved and closed before the dialog, and opened again on Cancel; the file
// chosen is then created or opened.
void CQuizDlg::SwitchFile(CFileDialog& dialog, StoreStatus (CQuestionFile::*open)()) {
    ExitOnFailure(m_file.SaveAndClose());
    if (dialog.DoModal() == IDCANCEL) {
        ExitOnFailure(m_file.Load());
        return;
    }
    OpenChosen(dialog.GetPathName(), open);
}

// A deck of another program is opened as the data file made of it; when none is made, the
// current file opens again.
void CQuizDlg::OpenChosen(std::string path, StoreStatus (CQuestionFile::*open)()) {
    if (open == &CQuestionFile::Load && IsOtherDeck(path) &&
        (path = ConvertDeck(path, m_host.GetProgramFolder())).empty()) {
        ExitOnFailure(m_file.Load()); // the current file, as before
        return;
    }
    m_host.SetDataFilePath(path);
    ExitOnFailure((m_file.*open)());
    ShowQuestion(true);
    UpdateTitle();
}

// A file dropped on the window is opened as the Open command opens it.
void CQuizDlg::dragEnterEvent(QDragEnterEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() == 1 && urls.front().isLocalFile())
        event->acceptProposedAction();
}

void CQuizDlg::dropEvent(QDropEvent* event) {
    const QList<QUrl> urls = event->mimeData()->urls();
    if (urls.size() != 1 || !urls.front().isLocalFile())
        return;
    event->acceptProposedAction();
    ExitOnFailure(m_file.SaveAndClose());
    OpenChosen(ToStdString(urls.front().toLocalFile()), &CQuestionFile::Load);
}

void CQuizDlg::OnUsersManual() {
    OpenInTextViewer(m_host.GetProgramFolder() + "manual.txt");
}

void CQuizDlg::OnAbout() {
    CAboutDlg about(this);
    about.DoModal();
}

// The window is dragged by its body.
void CQuizDlg::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton && windowHandle()) {
        windowHandle()->startSystemMove();
        return;
    }
    CDialog::mousePressEvent(event);
}

// The timer runs only while the window is out of sight: restoring it by hand stops it too. Once
// the window has the keyboard, by whatever way, the notification has done its work.
void CQuizDlg::changeEvent(QEvent* event) {
    if (event->type() == QEvent::WindowStateChange && IsShownToUser()) {
        KillTimer(ID_POPUP_TIMER);
        m_popupWait.Stop();
    }
    if (event->type() == QEvent::ActivationChange && isActiveWindow()) {
        m_focusWait.stop();
        m_notice.Withdraw();
        AnnounceQuestion();
    }
    CDialog::changeEvent(event);
}
