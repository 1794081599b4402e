#pragma once

#include <QPixmap>
#include <QPushButton>

// A command button that shows a picture instead of a caption, drawn centred
// on the face and clipped to it.
class PictureButton : public QPushButton
{
    Q_OBJECT

public:
    PictureButton(const QPixmap &picture, QWidget *parent);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QPixmap picture_;
};
