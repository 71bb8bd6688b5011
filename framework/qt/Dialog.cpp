#include "Dialog.h"

#include "DataExchange.h"
#include "EditBoxes.h"
#include "Icons.h"
#include "MessageBox.h"
#include "QtText.h"
#include "Seam.h"
#include "Strings.h"
#include "UpDown.h"
#include "UserMessage.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QEventLoop>
#include <QFrame>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcutEvent>
#include <QTimer>

#include <algorithm>

namespace {

using ModalRunSeam = Seam<struct ModalRunTag, void(CDialog&)>;

// A check box drawn as a push button: it sends its command when clicked and is never the
// button that Enter presses.
class CPushLikeButton : public QPushButton {
public:
    using QPushButton::QPushButton;
};

bool IsPushLike(const QObject* control) {
    return dynamic_cast<const CPushLikeButton*>(control) != nullptr;
}

// Tab enters a group of radio buttons at its checked one, or at the first when none is checked.
void PutTabStopOnChecked(const QButtonGroup& group) {
    const QList<QAbstractButton*> buttons = group.buttons();
    const auto checked =
        std::find_if(buttons.begin(), buttons.end(), [](auto* b) { return b->isChecked(); });
    const QAbstractButton* stop = checked != buttons.end() ? *checked : buttons.value(0);
    for (QAbstractButton* button : buttons)
        button->setFocusPolicy(button == stop ? Qt::StrongFocus : Qt::ClickFocus);
}

// An application window without an owner is a normal top-level window with its own task-bar
// entry; every other dialog belongs to its owner.
Qt::WindowFlags FlagsFor(unsigned style, bool owned) {
    const bool ownWindow = (style & DS_APPWINDOW) && !owned;
    Qt::WindowFlags flags = (ownWindow ? Qt::Window : Qt::Dialog) | Qt::CustomizeWindowHint;
    if (style & DS_TOOLWINDOW)
        flags |= Qt::Tool;
    if (style & DS_CAPTION)
        flags |= Qt::WindowTitleHint;
    if (style & DS_SYSMENU)
        flags |= Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint;
    if ((style & DS_SYSMENU) && !(style & DS_MODALFRAME))
        flags |= Qt::WindowMinimizeButtonHint;
    return flags;
}

QWidget* MakeControl(const ControlTemplate& t, QWidget* parent, QWidget* previous) {
    const QString text = QString::fromUtf8(t.text);
    switch (t.kind) {
    case ControlKind::PushButton:
    case ControlKind::DefPushButton:
    case ControlKind::OwnerDrawButton: {
        auto* button = new QPushButton(text, parent);
        button->setAutoDefault(false);
        button->setDefault(t.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::PushLikeButton: {
        auto* button = new CPushLikeButton(text, parent);
        button->setAutoDefault(false);
        return button;
    }
    case ControlKind::Edit: {
        auto* line =
            (t.style & CS_NUMBER) ? new CNumberEdit(text, parent) : new QLineEdit(text, parent);
        if (t.style & CS_RIGHT)
            line->setAlignment(Qt::AlignRight);
        return line;
    }
    case ControlKind::MultiLineEdit: {
        auto* box = new CDialogTextBox(text, parent);
        box->setVerticalScrollBarPolicy((t.style & CS_VSCROLL) ? Qt::ScrollBarAlwaysOn
                                                               : Qt::ScrollBarAsNeeded);
        box->setFrameShape((t.style & CS_BORDER) ? QFrame::StyledPanel : QFrame::NoFrame);
        return box;
    }
    case ControlKind::StaticText: {
        auto* label = new QLabel(text, parent);
        label->setWordWrap(true);
        label->setTextFormat(Qt::PlainText);
        label->setAlignment((t.style & CS_CENTER) ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignTop);
        return label;
    }
    case ControlKind::SunkenRule: {
        auto* rule = new QFrame(parent);
        rule->setFrameShape(QFrame::VLine);
        rule->setFrameShadow(QFrame::Sunken);
        return rule;
    }
    case ControlKind::Icon: {
        auto* picture = new QLabel(parent);
        picture->setPixmap(LoadAppIcon(QString::fromUtf8(t.text).toInt())
                               .pixmap(t.cx * kPixelsPerDialogUnit, t.cy * kPixelsPerDialogUnit));
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        return picture;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::UpDown:
        return new CUpDown(qobject_cast<QLineEdit*>(previous), parent);
    case ControlKind::GroupBox: {
        auto* frame = new QGroupBox(text, parent);
        frame->setAttribute(Qt::WA_TransparentForMouseEvents);
        return frame;
    }
    }
    return new QWidget(parent);
}

// A member widget in the template control's place, with its text.
QWidget* TakeBoundControl(const ControlTemplate& t, QWidget& control, QWidget* parent) {
    control.setParent(parent);
    SetWidgetText(&control, QString::fromUtf8(t.text));
    if (auto* button = qobject_cast<QPushButton*>(&control))
        button->setAutoDefault(false);
    return &control;
}

} // namespace

CDialog::CDialog(int templateId, QWidget* parent)
    : QDialog(parent), m_template(FindDialogTemplate(templateId)),
      m_timers(this, [this](int id) { OnTimer(id); }) {}

CDialog::ModalRunHandler CDialog::SetModalRunHandler(ModalRunHandler handler) {
    return ModalRunSeam::Set(std::move(handler));
}

void CDialog::Create() {
    if (m_created)
        return;
    m_created = true;
    setWindowFlags(FlagsFor(m_template.style, parentWidget() != nullptr));
    if (*m_template.caption)
        setWindowTitle(QString::fromUtf8(m_template.caption));
    QFont dialogFont = font();
    dialogFont.setPixelSize(m_template.fontSize);
    setFont(dialogFont);
    setFixedSize(m_template.cx * kPixelsPerDialogUnit, m_template.cy * kPixelsPerDialogUnit);
    CDataExchange binding(this, CDataExchange::BindControls);
    DoDataExchange(&binding);
    BuildControls();
    OnInitDialog();
}

void CDialog::BuildControls() {
    QButtonGroup* radioGroup = nullptr;
    for (const auto& t : m_template.controls) {
        const auto bound = m_bound.find(t.id);
        QWidget* control =
            bound != m_bound.end()
                ? TakeBoundControl(t, *bound->second, this)
                : MakeControl(t, this, m_tabOrder.empty() ? nullptr : m_tabOrder.back());
        if (auto* radio = qobject_cast<QRadioButton*>(control)) {
            if (!radioGroup || (t.style & CS_GROUP)) {
                radioGroup = new QButtonGroup(this);
                m_radioGroups[t.id] = radioGroup;
                connect(radioGroup, &QButtonGroup::buttonToggled, this,
                        [group = radioGroup] { PutTabStopOnChecked(*group); });
            }
            radioGroup->addButton(radio);
        } else {
            radioGroup = nullptr;
        }
        control->setGeometry(t.x * kPixelsPerDialogUnit, t.y * kPixelsPerDialogUnit,
                             t.cx * kPixelsPerDialogUnit, t.cy * kPixelsPerDialogUnit);
        control->setFocusPolicy((t.style & CS_TABSTOP) ? Qt::StrongFocus : Qt::NoFocus);
        control->setVisible(!(t.style & CS_HIDDEN));
        if (t.accessibleName)
            control->setAccessibleName(QString::fromUtf8(t.accessibleName));
        if (t.id > 0) {
            m_controls[t.id] = control;
            WireCommand(control, t.id);
        }
        m_tabOrder.push_back(control);
    }
    for (const auto& [id, group] : m_radioGroups)
        PutTabStopOnChecked(*group);
    // Frames lie behind the controls they hold.
    for (QGroupBox* frame : findChildren<QGroupBox*>(Qt::FindDirectChildrenOnly))
        frame->lower();
}

void CDialog::WireCommand(QWidget* control, int id) {
    if (auto* button = qobject_cast<QAbstractButton*>(control)) {
        connect(button, &QAbstractButton::clicked, this, [this, id] { OnCommand(id); });
        button->installEventFilter(this);
    }
}

// A button's mnemonic clicks it at once. Qt would click it 100 ms later, and keys typed in the
// meantime would reach the controls as they were before the click. A push-like button leaves the
// focus where it was, so that typing goes on in the box that had it.
bool CDialog::eventFilter(QObject* watched, QEvent* event) {
    auto* button = qobject_cast<QAbstractButton*>(watched);
    if (!button || event->type() != QEvent::Shortcut ||
        static_cast<QShortcutEvent*>(event)->isAmbiguous())
        return QDialog::eventFilter(watched, event);
    if ((button->focusPolicy() & Qt::TabFocus) && !IsPushLike(button))
        button->setFocus(Qt::ShortcutFocusReason);
    button->click();
    return true;
}

void CDialog::RegisterControl(int id, QWidget* control) {
    m_controls[id] = control;
    if (m_bToolTips)
        SetToolTipFromStrings(id, control);
}

void CDialog::SetToolTipFromStrings(int id, QWidget* control) {
    const std::string tip = LoadString(static_cast<unsigned>(id));
    if (!tip.empty())
        control->setToolTip(ToQString(tip));
}

void CDialog::ApplyTabOrder() {
    QWidget* previous = nullptr;
    for (QWidget* control : m_tabOrder) {
        if (control->focusPolicy() == Qt::NoFocus)
            continue;
        if (previous)
            setTabOrder(previous, control);
        previous = control;
    }
}

bool CDialog::OnInitDialog() {
    UpdateData(false);
    ApplyTabOrder();
    return true;
}

int CDialog::DoModal() {
    m_ended = false;
    m_result = IDCANCEL;
    Create();
    if (parentWidget())
        setWindowModality(Qt::ApplicationModal);
    QEventLoop loop;
    m_loop = &loop;
    if (const auto handler = ModalRunSeam::Get()) {
        QTimer::singleShot(0, this, [this, handler] {
            handler(*this);
            if (!m_ended)
                EndDialog(IDCANCEL);
        });
    }
    show();
    if (!m_ended)
        loop.exec(QEventLoop::DialogExec);
    m_loop = nullptr;
    DestroyWindow();
    return m_result;
}

void CDialog::EndDialog(int result) {
    m_result = result;
    m_ended = true;
    QDialog::done(result);
    if (m_loop)
        m_loop->quit();
}

QButtonGroup* CDialog::RadioGroupAt(int firstId) const {
    auto it = m_radioGroups.find(firstId);
    return it == m_radioGroups.end() ? nullptr : it->second;
}

QWidget* CDialog::GetDlgItem(int id) const {
    auto it = m_controls.find(id);
    return it == m_controls.end() ? nullptr : it->second;
}

void CDialog::SetDlgItemText(int id, const std::string& text) {
    SetWidgetText(GetDlgItem(id), ToQString(text));
}

std::string CDialog::GetDlgItemText(int id) const {
    return ToStdString(WidgetText(GetDlgItem(id)));
}

bool CDialog::UpdateData(bool saveAndValidate) {
    CDataExchange exchange(this, saveAndValidate);
    try {
        DoDataExchange(&exchange);
    } catch (const CDataExchange::Failure&) {
        return false;
    }
    return true;
}

void CDialog::PostCommand(int id) {
    QMetaObject::invokeMethod(
        this, [this, id] { OnCommand(id); }, Qt::QueuedConnection);
}

void CDialog::OnOK() {
    if (UpdateData(true))
        EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::OnCommand(int id) {
    if (id == IDOK) {
        OnOK();
        return true;
    }
    if (id == IDCANCEL) {
        OnCancel();
        return true;
    }
    return false;
}

bool CDialog::TakeEscapePress() {
    return std::exchange(m_escapePressed, false);
}

void CDialog::EnableToolTips() {
    m_bToolTips = true;
    for (auto& [id, control] : m_controls)
        SetToolTipFromStrings(id, control);
}

// Enter presses the focused push button (a push-like one is not), else sends IDOK, whether or not
// a button shows it; Escape sends IDCANCEL.
void CDialog::keyPressEvent(QKeyEvent* event) {
    const auto modifiers = event->modifiers() & ~Qt::KeypadModifier;
    if (event->key() == Qt::Key_Escape && modifiers == Qt::NoModifier) {
        m_escapePressed = true;
        OnCommand(IDCANCEL);
        return;
    }
    if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) &&
        modifiers == Qt::NoModifier) {
        if (auto* button = qobject_cast<QPushButton*>(focusWidget());
            button && button->isVisible() && !IsPushLike(button))
            button->click();
        else
            OnCommand(IDOK);
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    OnCancel();
}

bool CDialog::event(QEvent* event) {
    if (event->type() == CUserMessageEvent::EventType()) {
        auto* message = static_cast<CUserMessageEvent*>(event);
        OnUserMessage(message->message, message->wParam);
        return true;
    }
    return QDialog::event(event);
}
