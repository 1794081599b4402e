#pragma once

#include <QKeyEvent>
#include <QTest>

// Types text into a widget one key at a time; QTest's own typing knows only ASCII.
inline void typeText(QWidget *widget, const QString &text)
{
    for (QChar c : text)
        QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
}
