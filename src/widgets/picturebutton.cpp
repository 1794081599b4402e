#include "widgets/picturebutton.h"

#include <QStyleOptionButton>
#include <QStylePainter>

PictureButton::PictureButton(const QPixmap &picture, QWidget *parent)
    : QPushButton(parent), picture_(picture)
{}

void PictureButton::paintEvent(QPaintEvent *)
{
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    painter.drawControl(QStyle::CE_PushButtonBevel, option);

    const QRect face = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
    QRect target(QPoint(), picture_.deviceIndependentSize().toSize());
    target.moveCenter(face.center());
    painter.setClipRect(face);
    painter.drawPixmap(target, picture_);
}
