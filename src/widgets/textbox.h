#pragma once

#include <QHash>
#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

// A multi-line text box whose text is the program's own string, with line
// breaks as carriage return plus line feed, whatever the view stores. Reading
// a character costs O(1) and lengths count a line break as two characters.
// Lone carriage returns and line feeds stay as they are in the text and show
// as line breaks. Enter with Shift or Ctrl held breaks the line as Enter does.
//
// Text appended by the program shows from the start of the box, as when the
// whole text is set anew. While it grows, the view holds only what can be
// seen there: the lines below the box and the part of a line beyond its
// right edge are left out, so that a character costs the same on a long line
// as on a short one, and on the last line as on the first. The view looks the same all the same: a
// line is cut only between characters that each keep their own place left to right (Latin,
// Cyrillic, Greek, punctuation, tabs, combining marks, most emoji); a line with any other
// (right-to-left text, soft hyphens, controls) may be laid out differently as a whole, so it goes
// into the view whole. The scroll bars still follow the whole text, at most a frame later. And
// nothing leaves the box cut: a key, a click, a drag or the wheel over the box or its scroll bars
// first fills the view in, until the next character. showWholeText() ends
// growing.
class TextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    const QString &text() const { return text_; }
    void setText(const QString &text);

    void clearText();
    void appendText(const QString &piece);
    void showWholeText();

    // A locked box refuses the user's edits; the program can still set its text.
    void setLocked(bool locked);
    bool isLocked() const { return isReadOnly(); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    friend class TextBoxAccessible; // fills the view in before it reads it

    void takeUserEdit(int position);
    void replaceView(const QString &text);
    void stopGrowing();
    // Sets what the view holds, which is no edit of the user's.
    void setView(const QString &text);
    void startGrowing();
    void growBy(qsizetype i);
    qreal kerningBefore(qsizetype i);
    qreal overhangAt(qsizetype i) const;
    void putParagraphInWhole(qsizetype i);
    void insertIntoView(const QString &text);
    void fillView();
    void keepViewAtStart();
    void fitScrollBarsSoon();
    void fitScrollBars();

    QString text_;
    bool updatingView_ = false; // the view's changes are the program's, not the user's edits

    // While the program appends: where the next character goes, and what of
    // the box can be seen.
    bool growing_ = false;
    bool whole_ = false; // the view holds the whole text, till the next character
    QTextCursor end_;    // at the end of the view
    int line_ = 0;
    // The view's last paragraph: where it starts, in the text and in lines,
    // whether some of it was left out, and whether it must be whole.
    qsizetype paragraphStart_ = 0;
    int paragraphLine_ = 0;
    bool paragraphCut_ = false;
    bool paragraphWhole_ = false;
    bool lastSeen_ = true; // the last character went into the view
    qreal x_ = 0;          // where the line's next character starts
    qreal widest_ = 0;     // the longest line's width, with its last glyph's ink
    int widestLine_ = 0;
    int visibleLines_ = 0;
    qreal visibleWidth_ = 0;
    QFontMetricsF metrics_{QFont()};
    QHash<quint32, qreal> kerning_; // of the pairs of characters met so far
    QTimer scrollBarTimer_;
};
