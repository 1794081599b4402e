#include "widgets/countingstatusbar.h"

#include "widgets/frameannouncement.h"

#include <QAccessible>
#include <QPaintEvent>
#include <QPainter>
#include <QStyleOption>

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

// What antialiasing and hinting may draw beside a glyph's outline.
constexpr int Overhang = 2;

// Where the last word starts: after the last space, or 0 when there is none.
qsizetype lastWordStart(QStringView text)
{
    return text.lastIndexOf(QLatin1Char(' ')) + 1;
}

bool isCount(QStringView word)
{
    return !word.isEmpty() &&
           std::all_of(word.begin(), word.end(), [](QChar c) { return c >= u'0' && c <= u'9'; });
}

// A caption, a space and a count.
bool isCountMessage(QStringView message)
{
    const qsizetype split = lastWordStart(message);
    return split > 0 && isCount(message.mid(split));
}

int digitOf(QChar c)
{
    return c.unicode() - u'0';
}

} // namespace

// showMessage() alone would repaint the whole message. With updates blocked it
// marks nothing; the flag is then cleared directly, because
// setUpdatesEnabled(true) would mark the whole bar.
void CountingStatusBar::showCount(const QString &text)
{
    const QString before = currentMessage();
    const qsizetype split = lastWordStart(text);
    const QStringView caption = QStringView(text).left(split);
    const QStringView count = QStringView(text).mid(split);
    const QStringView was = QStringView(before).mid(split);
    if (split == 0 || !isCount(count) || !isCount(was) ||
        QStringView(before).left(split) != caption || !updatesEnabled()) {
        announcement_.cancel(); // showMessage() announces this one at once
        showMessage(text);
        return;
    }
    setAttribute(Qt::WA_UpdatesDisabled);
    announcement_.change([&] { showMessage(text); });
    setAttribute(Qt::WA_UpdatesDisabled, false);
    layOut(caption);
    // A digit's place depends only on the digits before it and itself.
    const qsizetype same =
        std::mismatch(was.begin(), was.end(), count.begin(), count.end()).first - was.begin();
    if (same == was.size() && same == count.size())
        return;
    const qreal x = messageRect().x() + captionWidth_;
    const auto [wasLeft, wasRight] = inkOf(was, x, same);
    const auto [left, right] = inkOf(count, x, same);
    const int from = int(std::floor(std::min(wasLeft, left))) - Overhang;
    const int to = int(std::ceil(std::max(wasRight, right))) + Overhang;
    update(QRect(from, 0, to - from, height()) & messageRect());
}

void CountingStatusBar::announceMessage()
{
    QAccessibleEvent nameChanged(this, QAccessible::NameChanged);
    QAccessible::updateAccessibility(&nameChanged);
}

// Paints as QStatusBar does, with the same glyphs in the same places: shaping
// places a digit after the one before it by their advances and kerning.
void CountingStatusBar::paintEvent(QPaintEvent *event)
{
    const QString message = currentMessage();
    if (!isCountMessage(message)) {
        QStatusBar::paintEvent(event);
        return;
    }
    QPainter painter(this);
    QStyleOption option;
    option.initFrom(this);
    style()->drawPrimitive(QStyle::PE_PanelStatusBar, &option, &painter, this);
    const qsizetype split = lastWordStart(message);
    layOut(QStringView(message).left(split));
    const QRect area = messageRect();
    const qreal top = area.y() + (area.height() - QFontMetricsF(font()).height()) / 2;
    painter.setPen(palette().windowText().color());
    painter.setClipRect(area, Qt::IntersectClip);
    if (event->rect().left() <= area.x() + captionInkRight_ + Overhang)
        painter.drawStaticText(QPointF(area.x(), top), caption_);
    const QStringView count = QStringView(message).mid(split);
    qreal x = area.x() + captionWidth_;
    const QRect dirty = event->rect();
    for (qsizetype i = 0; i < count.size(); x = nextDigitX(count, i++, x)) {
        const Digit &d = digits_[digitOf(count[i])];
        if (x + d.inkRight + Overhang >= dirty.left() &&
            x + d.inkLeft - Overhang <= dirty.right() + 1)
            painter.drawStaticText(QPointF(x, top), d.glyph);
    }
}

// QStatusBar's own message area, for a bar without widgets or size grip.
QRect CountingStatusBar::messageRect() const
{
    return QRect(6, 0, width() - 18, height());
}

void CountingStatusBar::layOut(QStringView caption)
{
    const bool sameFont = font_ == font();
    if (sameFont && caption == caption_.text())
        return;
    font_ = font();
    const QFontMetricsF metrics(font());
    caption_.setText(caption.toString());
    captionWidth_ = metrics.horizontalAdvance(caption_.text());
    captionInkRight_ = metrics.boundingRect(caption_.text()).right();
    if (sameFont)
        return;
    for (int d = 0; d < 10; ++d) {
        const QString glyph(QChar(u'0' + d));
        const QRectF ink = metrics.boundingRect(glyph);
        digits_[d] = {QStaticText(glyph), metrics.horizontalAdvance(glyph), ink.left(),
                      ink.right()};
    }
    for (int a = 0; a < 10; ++a) {
        for (int b = 0; b < 10; ++b) {
            const QString pair = digits_[a].glyph.text() + digits_[b].glyph.text();
            kerning_[a][b] =
                metrics.horizontalAdvance(pair) - digits_[a].advance - digits_[b].advance;
        }
    }
}

std::pair<qreal, qreal> CountingStatusBar::inkOf(QStringView count, qreal x, qsizetype from) const
{
    qreal left = std::numeric_limits<qreal>::max();
    qreal right = std::numeric_limits<qreal>::lowest();
    for (qsizetype i = 0; i < count.size(); x = nextDigitX(count, i++, x)) {
        if (i < from)
            continue;
        const Digit &d = digits_[digitOf(count[i])];
        left = std::min(left, x + d.inkLeft);
        right = std::max(right, x + d.inkRight);
    }
    return {left, right};
}

qreal CountingStatusBar::nextDigitX(QStringView count, qsizetype i, qreal x) const
{
    const int d = digitOf(count[i]);
    x += digits_[d].advance;
    return i + 1 < count.size() ? x + kerning_[d][digitOf(count[i + 1])] : x;
}
