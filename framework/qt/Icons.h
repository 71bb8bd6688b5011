#pragma once

#include <QIcon>

// The icon resource of that id, at every size it ships in; each size is read from its file when
// it is drawn.
QIcon LoadAppIcon(int id);
