#include "mainwindow/textbox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextLayout>

namespace {

constexpr QChar Cr = u'\r';
constexpr QChar Lf = u'\n';

// How many view characters text[i] stands for: a line feed that follows a
// carriage return belongs to the same line break and stands for none.
int viewWidth(const QString &text, qsizetype i)
{
    return (text[i] == Lf && i > 0 && text[i - 1] == Cr) ? 0 : 1;
}

bool sameCharacter(QChar textChar, QChar viewChar)
{
    if (textChar == Cr || textChar == Lf)
        return viewChar == QChar::ParagraphSeparator;
    return textChar == viewChar;
}

// The user's typing arrives with the view's paragraph separators.
QString fromView(QStringView view)
{
    QString text;
    text.reserve(view.size());
    for (QChar c : view) {
        if (c == QChar::ParagraphSeparator)
            text += QStringLiteral("\r\n");
        else
            text += c;
    }
    return text;
}

} // namespace

TextBox::TextBox(QWidget *parent) : QPlainTextEdit(parent)
{
    setLineWrapMode(QPlainTextEdit::NoWrap);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    setTabChangesFocus(true);
    connect(document(), &QTextDocument::contentsChange, this, [this](int position) {
        if (!updatingView_)
            takeUserEdit(position);
    });
}

void TextBox::setText(const QString &text)
{
    text_ = text;
    replaceView(text_);
}

// The run locks both boxes at every character: only a change is passed on,
// since Qt announces each one to the box with an event.
void TextBox::setLocked(bool locked)
{
    if (locked != isReadOnly())
        setReadOnly(locked);
}

void TextBox::clearText()
{
    text_.clear();
    shown_ = 0;
    viewCleared_ = true;
}

void TextBox::appendText(const QString &piece)
{
    text_ += piece;
}

void TextBox::showPending()
{
    if (viewCleared_) {
        viewCleared_ = false;
        replaceView(text_);
        return;
    }
    if (shown_ == text_.size())
        return;
    qsizetype from = shown_;
    // The line feed of a line break already shown by its carriage return.
    if (viewWidth(text_, from) == 0)
        ++from;
    updatingView_ = true;
    // The line being appended to keeps its glyphs after being laid out, so that
    // placing the caret and painting do not shape the whole line once more each.
    document()->lastBlock().layout()->setCacheEnabled(true);
    // What the program appends is no edit of the user's to be undone.
    document()->setUndoRedoEnabled(false);
    QTextCursor end(document());
    // Outside an edit block, moving and inserting each measure where the cursor
    // stands on its line, which on a long line means laying out the whole line.
    end.beginEditBlock();
    end.movePosition(QTextCursor::End);
    end.insertText(QStringView(text_).mid(from).toString());
    end.endEditBlock();
    document()->setUndoRedoEnabled(true);
    // Like a box whose whole text was just set, it shows the text from its start.
    moveCursor(QTextCursor::Start);
    updatingView_ = false;
    shown_ = text_.size();
}

void TextBox::replaceView(const QString &text)
{
    updatingView_ = true;
    setPlainText(text); // takes CR LF, lone CR and lone LF each as one line break
    updatingView_ = false;
    shown_ = text.size();
}

// Finds what the user changed, from `position` of the view on, by comparing
// the view with the text from both ends, and changes only that stretch, so
// line breaks of other kinds elsewhere stay as they were.
void TextBox::takeUserEdit(int position)
{
    const QString view = document()->toRawText();
    qsizetype t = 0, v = 0;
    while (t < text_.size() && v < position) {
        const int width = viewWidth(text_, t);
        if (width == 1 && !sameCharacter(text_[t], view[v]))
            break;
        ++t;
        v += width;
    }
    // A line feed behind a matched carriage return belongs to it.
    if (t < text_.size() && viewWidth(text_, t) == 0)
        ++t;

    qsizetype tEnd = text_.size(), vEnd = view.size();
    while (tEnd > t && vEnd > v) {
        const qsizetype last = tEnd - 1;
        const bool crLf = text_[last] == Lf && last > t && text_[last - 1] == Cr;
        if (!sameCharacter(text_[last], view[vEnd - 1]))
            break;
        tEnd -= crLf ? 2 : 1;
        --vEnd;
    }

    text_.replace(t, tEnd - t, fromView(QStringView(view).mid(v, vEnd - v)));
    shown_ = text_.size();
}
