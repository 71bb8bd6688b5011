#include "Announcer.h"

#include <QAccessibleWidget>

namespace {

QAccessibleInterface* NotificationFor(const QString&, QObject* object) {
    auto* announcer = dynamic_cast<CAnnouncer*>(object);
    return announcer ? new QAccessibleWidget(announcer, QAccessible::Notification) : nullptr;
}

} // namespace

CAnnouncer::CAnnouncer(QWidget* parent) : QWidget(parent) {
    [[maybe_unused]] static const bool factoryInstalled =
        (QAccessible::installFactory(NotificationFor), true);
    setFixedSize(0, 0);
}

// Screen readers say a notification as it comes into sight.
void CAnnouncer::Announce(const QString& text) {
    setAccessibleName(text);
    hide();
    show();
}
