#include "StoreFailure.h"

#include "Exit.h"
#include "MessageBox.h"

void ExitOnFailure(const StoreStatus& status) {
    if (!status.Failed())
        return;
    AfxMessageBox(status.message, MB_ICONEXCLAMATION);
    ExitProgram(1);
}
