#pragma once

#include <QPoint>

#include <functional>

class QMenu;

// Drops down the menu resource with its top-left corner at the point (screen co-ordinates) and
// returns the id of the command chosen with either mouse button, or 0.
int TrackPopupMenu(int menuId, QPoint topLeft);

// Tests replace how a menu is run: the handler gets the built menu and the point and returns
// the id chosen.
using PopupMenuHandler = std::function<int(QMenu& menu, QPoint topLeft)>;
PopupMenuHandler SetPopupMenuHandler(PopupMenuHandler handler);
