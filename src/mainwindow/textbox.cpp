#include "mainwindow/textbox.h"

#include <QAbstractTextDocumentLayout>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <cmath>

namespace {

constexpr QChar Cr = u'\r';
constexpr QChar Lf = u'\n';
// Scroll bars follow the text at most this much later.
constexpr int FrameMs = 16;

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
    // Qt sizes the scroll bars to the view, which lacks what cannot be seen.
    scrollBarTimer_.setSingleShot(true);
    scrollBarTimer_.setInterval(FrameMs);
    connect(&scrollBarTimer_, &QTimer::timeout, this, &TextBox::fitHorizontalScrollBar);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] {
                if (growing_)
                    fitHorizontalScrollBar();
            });
}

// One edit, as the user's typing is, so Ctrl+Z brings back what the box held.
void TextBox::setText(const QString &text)
{
    text_ = text;
    growing_ = false;
    scrollBarTimer_.stop();
    updatingView_ = true;
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.insertText(text_); // takes CR LF, lone CR and lone LF each as one line break
    updatingView_ = false;
    moveCursor(QTextCursor::Start);
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
    replaceView(text_);
}

void TextBox::appendText(const QString &piece)
{
    if (!growing_)
        startGrowing();
    const qsizetype from = text_.size();
    text_ += piece;
    for (qsizetype i = from; i < text_.size(); ++i)
        growBy(i);
    keepViewAtStart();
}

void TextBox::showWholeText()
{
    if (!growing_)
        return;
    replaceView(text_);
    // Qt measures only the lines it has laid out; the longest one keeps the
    // horizontal scroll bar as it was while the text grew.
    document()->documentLayout()->blockBoundingRect(document()->findBlockByNumber(widestLine_));
    document()->setUndoRedoEnabled(true);
}

void TextBox::replaceView(const QString &text)
{
    growing_ = false;
    scrollBarTimer_.stop();
    updatingView_ = true;
    setPlainText(text); // takes CR LF, lone CR and lone LF each as one line break
    updatingView_ = false;
}

void TextBox::startGrowing()
{
    replaceView(QString());
    growing_ = true;
    // What the program appends is no edit of the user's to be undone.
    document()->setUndoRedoEnabled(false);
    end_ = QTextCursor(document());
    metrics_ = QFontMetricsF(document()->defaultFont());
    line_ = 0;
    x_ = 0;
    widest_ = 0;
    widestLine_ = 0;
    visibleLines_ = viewport()->height() / fontMetrics().lineSpacing() + 2;
    visibleWidth_ = viewport()->width() + metrics_.maxWidth();
    for (qsizetype i = 0; i < text_.size(); ++i)
        growBy(i);
}

// Puts text_[i] into the view where it can be seen, and measures it.
void TextBox::growBy(qsizetype i)
{
    const QChar c = text_[i];
    if (c == Cr || c == Lf) {
        if (viewWidth(text_, i) == 0)
            return;
        updatingView_ = true;
        end_.insertBlock();
        updatingView_ = false;
        ++line_;
        x_ = 0;
        return;
    }
    if (line_ < visibleLines_ && x_ < visibleWidth_) {
        updatingView_ = true;
        end_.insertText(QString(c));
        updatingView_ = false;
    }
    if (c == u'\t') {
        const qreal tab = document()->defaultTextOption().tabStopDistance();
        x_ = (std::floor(x_ / tab) + 1) * tab;
    } else {
        x_ += metrics_.horizontalAdvance(c);
    }
    if (x_ > widest_) {
        widest_ = x_;
        widestLine_ = line_;
        if (!scrollBarTimer_.isActive())
            scrollBarTimer_.start();
    }
}

// As after setting the whole text anew, the box shows its start.
void TextBox::keepViewAtStart()
{
    const QTextCursor cursor = textCursor();
    if (cursor.position() == 0 && !cursor.hasSelection() && horizontalScrollBar()->value() == 0 &&
        verticalScrollBar()->value() == 0)
        return;
    moveCursor(QTextCursor::Start); // scrolls back to the start as well
}

void TextBox::fitHorizontalScrollBar()
{
    const int wanted = int(widest_ + 2 * document()->documentMargin()) - viewport()->width();
    if (wanted > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setMaximum(wanted);
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
}
