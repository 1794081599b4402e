#include "widgets/textbox.h"

#include "widgets/textboxaccessible.h"

#include <QAbstractTextDocumentLayout>
#include <QAccessible>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScopedValueRollback>
#include <QScrollBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

constexpr QChar Cr = u'\r';
constexpr QChar Lf = u'\n';
// Scroll bars follow the text at most this much later.
constexpr int FrameMs = 16;

// The characters the view takes as a paragraph's end.
bool endsParagraph(QChar c)
{
    return c == Cr || c == Lf || c == QChar::ParagraphSeparator || c == u'\uFDD0' || c == u'\uFDD1';
}

// How text[i] takes its place on a line, for cutting the line where it is
// unseen: as a glyph of its own, left to right, as wide as the font gives it
// alone; as part of the character before it (a combining mark, the second
// half of a surrogate pair); or shaped with the rest of the line (right-to-
// left scripts, soft hyphens, controls, joiners, ...), which is never cut.
enum class Fit { Alone, Attached, Shaped };

constexpr std::pair<char16_t, char16_t> AloneRanges[] = {
    {u'\t', u'\t'},   {0x20, 0x7E},     {0xA0, 0xAC},     {0xAE, 0x52F}, // Latin, Greek, Cyrillic
    {0x2010, 0x2028}, {0x2030, 0x205E}, {0x20A0, 0x20C0}, {0x2100, 0x214F}, // punctuation, №
    {0xD83D, 0xD83E}, // the first half of most emoji
};

Fit fitOf(const QString &text, qsizetype i)
{
    const char16_t u = text[i].unicode();
    const auto within = [u](std::pair<char16_t, char16_t> range) {
        return u >= range.first && u <= range.second;
    };
    if (within({0x300, 0x36F}) || within({0x483, 0x489}) ||
        (QChar::isLowSurrogate(u) && i > 0 && text[i - 1].isHighSurrogate()))
        return Fit::Attached;
    return std::any_of(std::begin(AloneRanges), std::end(AloneRanges), within) ? Fit::Alone
                                                                               : Fit::Shaped;
}

// A character drawn as a glyph of its own, which shaping kerns with its
// neighbours.
bool isGlyphOfItsOwn(const QString &text, qsizetype i)
{
    return text[i] != u'\t' && !text[i].isSurrogate() && fitOf(text, i) == Fit::Alone;
}

// How many view characters text[i] stands for: a line feed that follows a
// carriage return belongs to the same line break and stands for none.
int viewWidth(const QString &text, qsizetype i)
{
    return (text[i] == Lf && i > 0 && text[i - 1] == Cr) ? 0 : 1;
}

bool sameCharacter(QChar textChar, QChar viewChar)
{
    if (endsParagraph(textChar))
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
    static const bool readable = (QAccessible::installFactory(&TextBoxAccessible::create), true);
    Q_UNUSED(readable);
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
    connect(&scrollBarTimer_, &QTimer::timeout, this, &TextBox::fitScrollBars);
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] {
                if (growing_)
                    fitScrollBars();
            });
    for (QObject *part : {static_cast<QObject *>(this), static_cast<QObject *>(viewport()),
                          static_cast<QObject *>(horizontalScrollBar()),
                          static_cast<QObject *>(verticalScrollBar())})
        part->installEventFilter(this);
}

// What the user does to the box may select, copy or scroll what the view
// holds; a context menu or a double click comes after a key or a click.
// Dragging selects anew at every character.
bool TextBox::eventFilter(QObject *watched, QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type == QEvent::KeyPress || type == QEvent::MouseButtonPress || type == QEvent::Wheel ||
        (type == QEvent::MouseMove && static_cast<QMouseEvent *>(event)->buttons() != Qt::NoButton))
        fillView();
    return QPlainTextEdit::eventFilter(watched, event);
}

// Shift+Enter and Ctrl+Enter break the line as Enter does, as in a Windows
// text box. Qt would put in a line separator, one character that Windows-1251
// lacks, or nothing.
void TextBox::keyPressEvent(QKeyEvent *event)
{
    constexpr Qt::KeyboardModifiers Held = Qt::ShiftModifier | Qt::ControlModifier;
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (!enter || !(event->modifiers() & Held)) {
        QPlainTextEdit::keyPressEvent(event);
        return;
    }
    QKeyEvent plainEnter(event->type(), event->key(), event->modifiers() & ~Held, event->text());
    QPlainTextEdit::keyPressEvent(&plainEnter);
    event->setAccepted(plainEnter.isAccepted());
}

// One edit, as the user's typing is, so Ctrl+Z brings back what the box held.
void TextBox::setText(const QString &text)
{
    text_ = text;
    stopGrowing();
    const QScopedValueRollback<bool> programs(updatingView_, true);
    QTextCursor all(document());
    all.select(QTextCursor::Document);
    all.insertText(text_); // takes CR LF, lone CR and lone LF each as one line break
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
    // What the user did in the box passes with the next character.
    if (!growing_ || whole_)
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
    stopGrowing();
    setView(text);
}

void TextBox::stopGrowing()
{
    growing_ = false;
    scrollBarTimer_.stop();
}

void TextBox::setView(const QString &text)
{
    const QScopedValueRollback<bool> programs(updatingView_, true);
    setPlainText(text); // takes CR LF, lone CR and lone LF each as one line break
}

void TextBox::startGrowing()
{
    replaceView(QString());
    growing_ = true;
    // What the program appends is no edit of the user's to be undone.
    document()->setUndoRedoEnabled(false);
    end_ = QTextCursor(document());
    metrics_ = QFontMetricsF(document()->defaultFont());
    kerning_.clear();
    whole_ = false;
    line_ = 0;
    paragraphStart_ = 0;
    paragraphLine_ = 0;
    paragraphCut_ = false;
    paragraphWhole_ = false;
    lastSeen_ = true;
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
    if (endsParagraph(c)) {
        if (viewWidth(text_, i) == 0) { // the line feed of a CR LF
            paragraphStart_ = i + 1;
            return;
        }
        ++line_;
        if (line_ < visibleLines_) {
            const QScopedValueRollback<bool> programs(updatingView_, true);
            end_.insertBlock();
        } else {
            fitScrollBarsSoon();
        }
        x_ = 0;
        paragraphStart_ = i + 1;
        paragraphLine_ = line_;
        paragraphCut_ = false;
        paragraphWhole_ = false;
        lastSeen_ = true;
        return;
    }
    const Fit fit = fitOf(text_, i);
    if (fit == Fit::Shaped && !paragraphWhole_)
        putParagraphInWhole(i);
    bool seen = line_ < visibleLines_ && (x_ < visibleWidth_ || c == QChar::LineSeparator);
    if (paragraphWhole_)
        seen = paragraphLine_ < visibleLines_;
    else if (fit == Fit::Attached)
        seen = lastSeen_;
    lastSeen_ = seen;
    if (seen)
        insertIntoView(QString(c));
    else
        paragraphCut_ = true;
    if (c == QChar::LineSeparator) {
        ++line_;
        x_ = 0;
        if (line_ >= visibleLines_)
            fitScrollBarsSoon();
        return;
    }
    if (c == u'\t') {
        const qreal tab = document()->defaultTextOption().tabStopDistance();
        x_ = (std::floor(x_ / tab) + 1) * tab;
    } else if (c.isLowSurrogate() && fit == Fit::Attached) {
        x_ += metrics_.horizontalAdvance(text_.mid(i - 1, 2));
    } else if (!c.isHighSurrogate()) {
        x_ += metrics_.horizontalAdvance(c) + kerningBefore(i);
    }
    // Qt measures the lines it lays out whole.
    const bool measured = paragraphWhole_ && paragraphLine_ < visibleLines_;
    const qreal width = x_ + overhangAt(i);
    if (!measured && width > widest_) {
        widest_ = width;
        widestLine_ = line_;
        fitScrollBarsSoon();
    }
}

// Shaping moves a character closer to the one before it on the line, or
// further, by the kerning of the pair.
qreal TextBox::kerningBefore(qsizetype i)
{
    if (i == 0 || x_ == 0 || !isGlyphOfItsOwn(text_, i - 1) || !isGlyphOfItsOwn(text_, i))
        return 0;
    const quint32 pair = quint32(text_[i - 1].unicode()) << 16 | text_[i].unicode();
    auto known = kerning_.constFind(pair);
    if (known == kerning_.cend()) {
        const QString both = text_.mid(i - 1, 2);
        known = kerning_.insert(pair, metrics_.horizontalAdvance(both) -
                                          metrics_.horizontalAdvance(both[0]) -
                                          metrics_.horizontalAdvance(both[1]));
    }
    return *known;
}

// How far the ink of a line's last glyph, at text_[i], reaches right of its
// advance: Qt counts that into the line's width (in Liberation Sans a pixel
// for «а», «д», «ж», «ц»). A mark is drawn on the glyph before it.
qreal TextBox::overhangAt(qsizetype i) const
{
    if (i > 0 && fitOf(text_, i) == Fit::Attached)
        --i;
    return isGlyphOfItsOwn(text_, i) ? std::max(0.0, -metrics_.rightBearing(text_[i])) : 0.0;
}

// From text_[i] on, the view holds the paragraph whole, with what was left
// out of it before, if it can be seen.
void TextBox::putParagraphInWhole(qsizetype i)
{
    paragraphWhole_ = true;
    if (!paragraphCut_ || paragraphLine_ >= visibleLines_)
        return;
    end_.movePosition(QTextCursor::StartOfBlock, QTextCursor::KeepAnchor);
    insertIntoView(text_.mid(paragraphStart_, i - paragraphStart_));
}

void TextBox::insertIntoView(const QString &text)
{
    const QScopedValueRollback<bool> programs(updatingView_, true);
    end_.insertText(text);
}

// The view takes in the whole text, for the user to select, copy or scroll
// through until the next character.
void TextBox::fillView()
{
    if (!growing_ || whole_)
        return;
    whole_ = true;
    setView(text_);
    fitScrollBars();
}

// As after setting the whole text anew, the box shows its start: at the
// right of a first line laid out right to left.
void TextBox::keepViewAtStart()
{
    const QTextCursor cursor = textCursor();
    if (cursor.position() == 0 && !cursor.hasSelection() && horizontalScrollBar()->value() == 0 &&
        verticalScrollBar()->value() == 0 &&
        document()->firstBlock().textDirection() == Qt::LeftToRight)
        return;
    moveCursor(QTextCursor::Start); // scrolls back to the start as well
}

void TextBox::fitScrollBarsSoon()
{
    if (!scrollBarTimer_.isActive())
        scrollBarTimer_.start();
}

void TextBox::fitScrollBars()
{
    const int wide = int(widest_ + 2 * document()->documentMargin()) - viewport()->width();
    if (wide > horizontalScrollBar()->maximum())
        horizontalScrollBar()->setMaximum(wide);
    // Qt pages by the lines that fit, and the view holds more than those.
    const int tall = line_ + 1 - verticalScrollBar()->pageStep();
    if (!whole_ && line_ >= visibleLines_ && tall > verticalScrollBar()->maximum())
        verticalScrollBar()->setMaximum(tall);
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
