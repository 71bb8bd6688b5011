#include "PopupMenu.h"

#include "Menus.h"
#include "Seam.h"

#include <QMenu>

namespace {

using PopupMenuSeam = Seam<struct PopupMenuTag, int(QMenu&, QPoint)>;

} // namespace

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler) {
    return PopupMenuSeam::Set(std::move(handler));
}

int TrackPopupMenu(int menuId, QPoint topLeft) {
    QMenu menu;
    for (const MenuItem& item : FindMenu(menuId)) {
        if (item.id == 0)
            menu.addSeparator();
        else
            menu.addAction(QString::fromUtf8(item.text))->setData(item.id);
    }
    if (const auto& handler = PopupMenuSeam::Get())
        return handler(menu, topLeft);
    const QAction* chosen = menu.exec(topLeft);
    return chosen ? chosen->data().toInt() : 0;
}
