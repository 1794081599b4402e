#include "transform/processingrun.h"

#include "shared/msgbox.h"
#include "transform/swapconsonant.h"
#include "transform/windowops.h"

QString withCount(const QString &caption, qsizetype count)
{
    return caption + QLatin1Char(' ') + QString::number(count);
}

void ProcessingRun(WindowOps &window, RunMembers m, const QString &title)
{
    const qsizetype n = window.sourceText().size();
    if (n == 0) {
        m.AnswerText = QString::number(window.showNotice(
            QStringLiteral("Введите текст в поле Оригинал!"), MsgBox::Exclamation, title));
        return;
    }
    if (m.RunFlag == False)
        m.RunFlag = True;
    if (!window.resultText().isEmpty())
        window.clearResult();
    window.setSizeCaption(withCount(QStringLiteral("Размер текста в символах:"), n));
    window.setProgressMaximum(float(n));
    window.setCommandEnabled(false);

    const QString statusCaption = QStringLiteral("Длина обработанного участка:");
    for (qsizetype i = 1; i <= n; ++i) {
        window.setBoxesLocked(true);
        if (m.RunFlag != True)
            break;
        if (!window.pumpEvents())
            return;
        // The open command may have replaced the source meanwhile.
        const QString &source = window.sourceText();
        if (i <= source.size())
            m.CurrentChar.setUnicode(source.constData() + i - 1, 1);
        else
            m.CurrentChar.clear();
        if (!m.CurrentChar.isEmpty())
            m.CurrentChar[0] = SwapConsonant(m.CurrentChar[0]);
        window.appendResult(m.CurrentChar);
        window.setStatusText(withCount(statusCaption, window.resultText().size()));
        window.setProgressValue(float(i));
    }

    window.setCommandEnabled(true);
    window.setBoxesLocked(false);
    window.setProgressValue(0);
    m.RunFlag = False;
    m.AnswerText = QString::number(
        window.showNotice(QStringLiteral("Обработка завершена!"), MsgBox::Exclamation, title));
}
