#pragma once

#include <QPlainTextEdit>

// A multi-line text box whose text is the program's own string, with line
// breaks as carriage return plus line feed, whatever the view stores. Reading
// a character costs O(1) and lengths count a line break as two characters.
// Lone carriage returns and line feeds stay as they are in the text and show
// as line breaks.
//
// The view may lag behind appended text until showPending() is called, so a
// long run repaints once per frame instead of once per character.
class TextBox : public QPlainTextEdit
{
    Q_OBJECT

public:
    explicit TextBox(QWidget *parent = nullptr);

    const QString &text() const { return text_; }
    void setText(const QString &text);

    // Changes the text only; the view follows at showPending().
    void clearText();
    void appendText(const QString &piece);
    void showPending();

    // A locked box refuses the user's edits; the program can still set its text.
    void setLocked(bool locked);
    bool isLocked() const { return isReadOnly(); }

private:
    void takeUserEdit(int position);
    void replaceView(const QString &text);

    QString text_;
    qsizetype shown_ = 0; // characters of text_ that the view shows
    bool viewCleared_ = false;
    bool updatingView_ = false;
};
