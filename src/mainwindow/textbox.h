#pragma once

#include <QPlainTextEdit>
#include <QTextCursor>
#include <QTimer>

// A multi-line text box whose text is the program's own string, with line
// breaks as carriage return plus line feed, whatever the view stores. Reading
// a character costs O(1) and lengths count a line break as two characters.
// Lone carriage returns and line feeds stay as they are in the text and show
// as line breaks.
//
// Text appended by the program shows from the start of the box, as when the
// whole text is set anew. While it grows, the view holds only what can be
// seen there: the lines below the box are left empty and the part of a line
// beyond its right edge is left out, so that a character costs the same on a
// long line as on a short one. The scroll bars still follow the whole text;
// showWholeText() fills the view in.
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

private:
    void takeUserEdit(int position);
    void replaceView(const QString &text);
    void startGrowing();
    void growBy(qsizetype i);
    void keepViewAtStart();
    void fitHorizontalScrollBar();

    QString text_;
    bool updatingView_ = false;

    // While the program appends: where the next character goes, and what of
    // the box can be seen.
    bool growing_ = false;
    QTextCursor end_; // at the end of the view
    int line_ = 0;
    qreal x_ = 0;      // where the line's next character starts
    qreal widest_ = 0; // the longest line's width
    int widestLine_ = 0;
    int visibleLines_ = 0;
    qreal visibleWidth_ = 0;
    QFontMetricsF metrics_{QFont()};
    QTimer scrollBarTimer_;
};
