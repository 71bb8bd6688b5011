#pragma once

#include <QIcon>

// The icon resource of that id, at every size it ships in; read only when first drawn.
QIcon LoadAppIcon(int id);
