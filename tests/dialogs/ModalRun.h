#pragma once

#include "Dialog.h"
#include "GotoDlg.h"
#include "ScopedHandler.h"

#include <QAbstractButton>
#include <QLineEdit>

// Runs the dialog modally, calling the script once it shows; a go-to dialog that it opens calls
// answerGoto instead, when there is one.
inline int RunModal(CDialog& dialog, const std::function<void(CDialog&)>& script,
                    const std::function<void(CGotoDlg&)>& answerGoto = nullptr) {
    ScopedHandler run(CDialog::SetModalRunHandler, [&](CDialog& shown) {
        if (auto* go = dynamic_cast<CGotoDlg*>(&shown); go && answerGoto)
            answerGoto(*go);
        else
            script(shown);
    });
    return dialog.DoModal();
}

inline void Click(CDialog& dialog, int id) {
    qobject_cast<QAbstractButton*>(dialog.GetDlgItem(id))->click();
}

inline QLineEdit* LineEdit(CDialog& dialog, int id) {
    return qobject_cast<QLineEdit*>(dialog.GetDlgItem(id));
}
