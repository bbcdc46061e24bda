#pragma once

#include <QObject>
#include <QString>
#include <QtQml/qqmlregistration.h>

// The desktop's clipboard for the views: "Copy text" replaces whatever it held (text, images, files) with
// plain text.
class TextClipboard : public QObject
{
    Q_OBJECT
    QML_ELEMENT
    QML_SINGLETON
public:
    using QObject::QObject;

    Q_INVOKABLE void copyPlainText(const QString &text);
};
