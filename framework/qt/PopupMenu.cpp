#include "PopupMenu.h"

#include "Menus.h"

#include <QMenu>

namespace {

PopupMenuHandler& CurrentHandler() {
    static PopupMenuHandler handler;
    return handler;
}

} // namespace

PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler) {
    auto previous = std::move(CurrentHandler());
    CurrentHandler() = std::move(handler);
    return previous;
}

int TrackPopupMenu(int menuId, QPoint topLeft) {
    QMenu menu;
    for (const MenuItem& item : FindMenu(menuId)) {
        if (item.id == 0)
            menu.addSeparator();
        else
            menu.addAction(QString::fromUtf8(item.text))->setData(item.id);
    }
    if (const auto handler = CurrentHandler())
        return handler(menu, topLeft);
    const QAction* chosen = menu.exec(topLeft);
    return chosen ? chosen->data().toInt() : 0;
}
