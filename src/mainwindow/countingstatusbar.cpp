#include "mainwindow/countingstatusbar.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

#include <cmath>

namespace {

// What antialiasing may draw beside a word's advance.
constexpr int Overhang = 2;

// How long a new count may wait to be announced: one frame of the screen.
constexpr int AnnouncementMs = 16;

// Where the last word starts: after the last space, or 0 when there is none.
qsizetype lastWordStart(QStringView text)
{
    return text.lastIndexOf(QLatin1Char(' ')) + 1;
}

} // namespace

// showMessage() alone would repaint the whole message. With updates blocked it
// marks nothing; the flag is then cleared directly, because
// setUpdatesEnabled(true) would mark the whole bar.
void CountingStatusBar::showCount(const QString &text)
{
    const QString before = currentMessage();
    const qsizetype split = lastWordStart(text);
    if (split == 0 || QStringView(before).left(split) != QStringView(text).left(split) ||
        lastWordStart(before) != split || !updatesEnabled()) {
        announcement_.stop(); // showMessage() announces this one at once
        showMessage(text);
        return;
    }
    setAttribute(Qt::WA_UpdatesDisabled);
    showMessageQuietly(text);
    setAttribute(Qt::WA_UpdatesDisabled, false);
    const QFontMetricsF metrics(font());
    const qreal x = lastWordX(text);
    const qreal width = std::max(metrics.horizontalAdvance(before.mid(split)),
                                 metrics.horizontalAdvance(text.mid(split)));
    const int left = int(std::floor(x)) - Overhang;
    update(QRect(left, 0, int(std::ceil(x + width)) + Overhang - left, height()) & messageRect());
}

// A screen reader that is sent every count of a run spends a message on the
// session bus per count, more than painting it costs, and cannot speak them
// anyway. The change is announced with the next frame instead, for whatever
// the count is by then.
void CountingStatusBar::showMessageQuietly(const QString &text)
{
    if (!QAccessible::isActive()) {
        showMessage(text);
        return;
    }
    const QAccessible::UpdateHandler announce =
        QAccessible::installUpdateHandler([](QAccessibleEvent *) {});
    showMessage(text);
    QAccessible::installUpdateHandler(announce);
    if (!announcement_.isActive())
        announcement_.start(AnnouncementMs, this);
}

void CountingStatusBar::timerEvent(QTimerEvent *event)
{
    if (event->timerId() != announcement_.timerId()) {
        QStatusBar::timerEvent(event);
        return;
    }
    announcement_.stop();
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}

// Paints as QStatusBar does, with the same glyphs in the same places.
void CountingStatusBar::paintEvent(QPaintEvent *event)
{
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    const QString message = currentMessage();
    if (message.isEmpty())
        return;
    const QRect area = messageRect();
    const QFontMetricsF metrics(font());
    const qreal top = area.y() + (area.height() - metrics.height()) / 2;
    const qreal x = lastWordX(message);
    painter.setPen(palette().windowText().color());
    painter.setClipRect(area, Qt::IntersectClip);
    if (event->rect().left() < x)
        painter.drawStaticText(QPointF(area.x(), top), head_);
    painter.drawStaticText(QPointF(x, top), QStaticText(message.mid(lastWordStart(message))));
}

// QStatusBar's own message area, for a bar without widgets or size grip.
QRect CountingStatusBar::messageRect() const
{
    return QRect(6, 0, width() - 18, height());
}

qreal CountingStatusBar::lastWordX(const QString &message)
{
    const QStringView head = QStringView(message).left(lastWordStart(message));
    if (head != head_.text() || font() != headFont_) {
        head_.setText(head.toString());
        headFont_ = font();
        headWidth_ = QFontMetricsF(headFont_).horizontalAdvance(head_.text());
    }
    return messageRect().x() + headWidth_;
}
