#pragma once

#include "widgets/frameannouncement.h"

#include <QStaticText>
#include <QStatusBar>

#include <array>
#include <optional>

// A status bar whose message is a caption and a count that changes many
// times a second. When only the count changes, only its digits' area is
// repainted and sent to the screen: the caption keeps its layout, and the
// digits are laid out from a table of the font's digits and the kerning
// between them instead of being shaped anew. The message, its look and what
// a screen reader reads are those of a plain status bar; a screen reader hears
// such changes once a frame, the last one included, instead of once a count.
class CountingStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit CountingStatusBar(QWidget *parent = nullptr) : QStatusBar(parent) {}

    // Shows `text` as showMessage() does.
    void showCount(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    void announceMessage();
    QRect messageRect() const;
    // Lays out the message's caption and the font's digits, when either changed.
    void layOut(QStringView caption);
    // Where the digit after count[i] starts, when count[i] starts at x.
    qreal nextDigitX(QStringView count, qsizetype i, qreal x) const;
    // The columns of pixels that `count`'s digits from its `from`th on may
    // touch, when it is drawn from x.
    std::pair<qreal, qreal> inkOf(QStringView count, qreal x, qsizetype from) const;

    struct Digit
    {
        QStaticText glyph;
        qreal advance = 0;
        qreal inkLeft = 0;
        qreal inkRight = 0;
    };

    std::optional<QFont> font_; // that the layouts below are for
    // The message up to its count, as last laid out.
    QStaticText caption_;
    qreal captionWidth_ = 0;
    qreal captionInkRight_ = 0;
    std::array<Digit, 10> digits_;
    std::array<std::array<qreal, 10>, 10> kerning_{}; // between a digit and the next
    FrameAnnouncement announcement_{this, [this] { announceMessage(); }};
};
