#pragma once

#include <QBasicTimer>
#include <QStaticText>
#include <QStatusBar>

// A status bar whose message is a caption and a count that changes many
// times a second. When only the last word of the message changes, only that
// word's area is repainted and sent to the screen, and the rest of the message
// keeps its layout. The message, its look and what a screen reader reads are
// those of a plain status bar; a screen reader hears such changes once a frame,
// the last one included, instead of once a count.
class CountingStatusBar : public QStatusBar
{
    Q_OBJECT

public:
    explicit CountingStatusBar(QWidget *parent = nullptr) : QStatusBar(parent) {}

    // Shows `text` as showMessage() does.
    void showCount(const QString &text);

protected:
    void paintEvent(QPaintEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void showMessageQuietly(const QString &text);
    QRect messageRect() const;
    // Where the message's last word starts, with the part before it laid out.
    qreal lastWordX(const QString &message);

    // The message up to its last word, as last laid out.
    QStaticText head_;
    QFont headFont_;
    qreal headWidth_ = 0;
    QBasicTimer announcement_; // of a count not yet announced
};
