#pragma once

#include "content/MessageBlockList.h"
#include "inbox/Inbox.h"

#include <QObject>
#include <QPointer>
#include <QtQml/qqmlregistration.h>

#include <QFileDialog>

// Saves an HTML attachment's file: a save dialog proposes the file's own name, and the bytes as sent are
// written where the user chose, replacing what is there. A failure shows in the inbox's action error. The
// dialog holds the panel open while it shows, as the panel's menus do.
class VisualizationSaver : public QObject
{
    Q_OBJECT
    QML_ELEMENT
public:
    explicit VisualizationSaver(QObject *parent = nullptr);
    ~VisualizationSaver() override;

    Q_INVOKABLE void save(Inbox *inbox, MessageBlockList *blocks, int index);
    // The open dialog (for tests), or null.
    QFileDialog *dialog() const { return m_dialog; }

private:
    QPointer<QFileDialog> m_dialog;
};
