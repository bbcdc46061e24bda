#include "TextClipboard.h"

#include <QClipboard>
#include <QGuiApplication>

void TextClipboard::copyPlainText(const QString &text)
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    clipboard->clear();
    clipboard->setText(text);
}
