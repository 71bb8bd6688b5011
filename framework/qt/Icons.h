#pragma once

#include <QIcon>

// The icon resource of that id, at every size it ships in.
QIcon LoadAppIcon(int id);
