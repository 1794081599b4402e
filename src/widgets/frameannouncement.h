#pragma once

#include <QAccessible>
#include <QTimer>

#include <functional>

// Changes a control without telling screen readers at once, and tells them
// within a frame, of whatever the control shows by then. During a run a
// message on the session bus for every step would cost more than painting it,
// and no reader can speak thousands of changes a second.
class FrameAnnouncement
{
public:
    // `announce` tells screen readers what the control shows.
    FrameAnnouncement(QObject *control, std::function<void()> announce)
    {
        timer_.setSingleShot(true);
        timer_.setInterval(16);
        QObject::connect(&timer_, &QTimer::timeout, control, std::move(announce));
    }

    template <typename Change> void change(Change change)
    {
        if (!QAccessible::isActive()) {
            change();
            return;
        }
        quietly(change);
        if (!timer_.isActive())
            timer_.start();
    }

    // For a change that Qt announces itself, at once.
    void cancel() { timer_.stop(); }

    template <typename Change> static void quietly(Change change)
    {
        const QAccessible::UpdateHandler tell =
            QAccessible::installUpdateHandler([](QAccessibleEvent *) {});
        change();
        QAccessible::installUpdateHandler(tell);
    }

private:
    QTimer timer_;
};
