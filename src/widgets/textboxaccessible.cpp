#include "widgets/textboxaccessible.h"

#include "widgets/textbox.h"

#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>

TextBoxAccessible::TextBoxAccessible(TextBox *box)
    : QAccessibleWidget(box, QAccessible::EditableText)
{}

QAccessibleInterface *TextBoxAccessible::create(const QString &className, QObject *object)
{
    if (className == QLatin1String("TextBox"))
        return new TextBoxAccessible(static_cast<TextBox *>(object));
    return nullptr;
}

TextBox *TextBoxAccessible::box() const
{
    TextBox *box = static_cast<TextBox *>(widget());
    box->fillView();
    return box;
}

QTextCursor TextBoxAccessible::cursorOver(int startOffset, int endOffset) const
{
    QTextCursor cursor(box()->document());
    cursor.setPosition(startOffset);
    cursor.setPosition(endOffset, QTextCursor::KeepAnchor);
    return cursor;
}

QString TextBoxAccessible::text(QAccessible::Text type) const
{
    if (type == QAccessible::Value)
        return box()->toPlainText();
    return QAccessibleWidget::text(type);
}

QAccessible::State TextBoxAccessible::state() const
{
    QAccessible::State state = QAccessibleWidget::state();
    state.selectableText = true;
    state.multiLine = true;
    if (box()->isLocked())
        state.readOnly = true;
    else
        state.editable = true;
    return state;
}

void *TextBoxAccessible::interface_cast(QAccessible::InterfaceType type)
{
    if (type == QAccessible::TextInterface)
        return static_cast<QAccessibleTextInterface *>(this);
    if (type == QAccessible::EditableTextInterface)
        return static_cast<QAccessibleEditableTextInterface *>(this);
    return QAccessibleWidget::interface_cast(type);
}

void TextBoxAccessible::selection(int selectionIndex, int *startOffset, int *endOffset) const
{
    const QTextCursor cursor = box()->textCursor();
    const bool selected = selectionIndex == 0 && cursor.hasSelection();
    *startOffset = selected ? cursor.selectionStart() : 0;
    *endOffset = selected ? cursor.selectionEnd() : 0;
}

int TextBoxAccessible::selectionCount() const
{
    return box()->textCursor().hasSelection() ? 1 : 0;
}

void TextBoxAccessible::addSelection(int startOffset, int endOffset)
{
    setSelection(0, startOffset, endOffset);
}

void TextBoxAccessible::removeSelection(int selectionIndex)
{
    if (selectionIndex != 0)
        return;
    TextBox *b = box();
    QTextCursor cursor = b->textCursor();
    cursor.clearSelection();
    b->setTextCursor(cursor);
}

void TextBoxAccessible::setSelection(int selectionIndex, int startOffset, int endOffset)
{
    if (selectionIndex == 0)
        box()->setTextCursor(cursorOver(startOffset, endOffset));
}

int TextBoxAccessible::cursorPosition() const
{
    return box()->textCursor().position();
}

void TextBoxAccessible::setCursorPosition(int position)
{
    setSelection(0, position, position);
}

QString TextBoxAccessible::text(int startOffset, int endOffset) const
{
    return cursorOver(startOffset, endOffset)
        .selectedText()
        .replace(QChar::ParagraphSeparator, QLatin1Char('\n'));
}

int TextBoxAccessible::characterCount() const
{
    return box()->document()->characterCount() - 1; // without the document's closing separator
}

// On the screen, as wide as the character's glyph.
QRect TextBoxAccessible::characterRect(int offset) const
{
    const TextBox *b = box();
    QRect rect = b->cursorRect(cursorOver(offset, offset));
    rect.setWidth(b->fontMetrics().horizontalAdvance(b->document()->characterAt(offset)));
    return rect.translated(b->viewport()->mapToGlobal(QPoint()));
}

int TextBoxAccessible::offsetAtPoint(const QPoint &point) const
{
    const TextBox *b = box();
    return b->cursorForPosition(b->viewport()->mapFromGlobal(point)).position();
}

// As with Qt's own plain text boxes, a reader scrolls by moving the caret.
void TextBoxAccessible::scrollToSubstring(int startIndex, int endIndex)
{
    Q_UNUSED(startIndex);
    Q_UNUSED(endIndex);
}

// The box shows one font throughout.
QString TextBoxAccessible::attributes(int offset, int *startOffset, int *endOffset) const
{
    Q_UNUSED(offset);
    *startOffset = 0;
    *endOffset = characterCount();
    return QString();
}

void TextBoxAccessible::deleteText(int startOffset, int endOffset)
{
    replaceText(startOffset, endOffset, QString());
}

void TextBoxAccessible::insertText(int offset, const QString &text)
{
    replaceText(offset, offset, text);
}

void TextBoxAccessible::replaceText(int startOffset, int endOffset, const QString &text)
{
    if (!box()->isLocked())
        cursorOver(startOffset, endOffset).insertText(text);
}
