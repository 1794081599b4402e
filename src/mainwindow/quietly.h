#pragma once

#include <QAccessible>

// Makes the changes that `change` makes without telling screen readers of
// them: a message on the session bus for every step of a run would cost more
// than painting it, and no reader can speak thousands of changes a second.
template <typename Change> void quietly(Change change)
{
    const QAccessible::UpdateHandler tell =
        QAccessible::installUpdateHandler([](QAccessibleEvent *) {});
    change();
    QAccessible::installUpdateHandler(tell);
}

// How long a change made quietly may wait to be announced: one frame.
constexpr int AnnouncementMs = 16;
