#pragma once

#include "DialogTemplates.h"
#include "WindowTimers.h"

#include <QDialog>

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

class CDataExchange;
class QButtonGroup;
class QEventLoop;

// A dialog built from a template: its controls are found by their template ids, buttons send
// their ids as commands, and it runs modally until EndDialog.
class CDialog : public QDialog {
public:
    explicit CDialog(int templateId, QWidget* parent = nullptr);

    // Builds the dialog (once), shows it and runs until it ends; then DestroyWindow.
    int DoModal();
    // Builds the controls from the template and runs OnInitDialog, once.
    void Create();
    void EndDialog(int result);
    virtual void DestroyWindow() {}

    QWidget* GetDlgItem(int id) const;
    // The radio buttons of the group that starts at that control, in template order.
    QButtonGroup* RadioGroupAt(int firstId) const;
    void SetDlgItemText(int id, const std::string& text);
    std::string GetDlgItemText(int id) const;
    // False when a value was refused; the dialog then stays as it is.
    bool UpdateData(bool saveAndValidate = true);

    // Sends the command as a button or menu item does.
    void SendCommand(int id) { OnCommand(id); }
    // Queues the command, to run when the event loop next runs.
    void PostCommand(int id);

    void SetTimer(int id, int milliseconds) { m_timers.SetTimer(id, milliseconds); }
    void KillTimer(int id) { m_timers.KillTimer(id); }
    bool IsTimerRunning(int id) const { return m_timers.IsTimerRunning(id); }

    // Puts a control created at run time under the dialog's ids.
    void RegisterControl(int id, QWidget* control);
    // Before the controls are built: the member widget is built as the template's control.
    void BindControl(int id, QWidget& control) { m_bound[id] = &control; }

    // Tests replace how a modal run proceeds: the handler runs inside the run, once the dialog
    // shows; a dialog it leaves open is cancelled.
    using ModalRunHandler = std::function<void(CDialog&)>;
    static ModalRunHandler SetModalRunHandler(ModalRunHandler handler);

protected:
    virtual bool OnInitDialog();
    virtual void DoDataExchange(CDataExchange*) {}
    virtual void OnOK();
    virtual void OnCancel();
    // Runs the handler of a command; false when the window has none.
    virtual bool OnCommand(int id);
    virtual void OnTimer(int) {}
    virtual void OnUserMessage(unsigned, std::intptr_t) {}

    // Whether Escape was pressed since the last time this was asked.
    bool TakeEscapePress();
    // Each control whose id numbers a string shows that string as its tip.
    void EnableToolTips();

    const DialogTemplate& Template() const { return m_template; }

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;
    void accept() override { OnOK(); }
    void reject() override { OnCancel(); }
    void done(int result) override { EndDialog(result); }

private:
    void BuildControls();
    void WireCommand(QWidget* control, int id);
    void ApplyTabOrder();
    void SetToolTipFromStrings(int id, QWidget* control);

    const DialogTemplate& m_template;
    std::map<int, QWidget*> m_controls;
    std::map<int, QWidget*> m_bound;
    std::map<int, QButtonGroup*> m_radioGroups;
    std::vector<QWidget*> m_tabOrder;
    CWindowTimers m_timers;
    QEventLoop* m_loop = nullptr;
    int m_result = 0;
    bool m_created = false;
    bool m_ended = false;
    bool m_escapePressed = false;
    bool m_bToolTips = false;
};
