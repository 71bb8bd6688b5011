#pragma once

#include "Dialog.h"

#include <QAbstractButton>
#include <QLineEdit>

// While it lives, every modal run calls the script once its dialog shows.
class ModalRun {
public:
    explicit ModalRun(CDialog::ModalRunHandler script)
        : m_previous(CDialog::SetModalRunHandler(std::move(script))) {}
    ~ModalRun() { CDialog::SetModalRunHandler(std::move(m_previous)); }
    ModalRun(const ModalRun&) = delete;
    ModalRun& operator=(const ModalRun&) = delete;

private:
    CDialog::ModalRunHandler m_previous;
};

inline void Click(CDialog& dialog, int id) {
    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->click();
}

inline QLineEdit* LineEdit(CDialog& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}
