#pragma once

#include "content/MessageBlockList.h"
#include "inbox/Inbox.h"

#include <QObject>
#include <QPointer>
#include <QRect>
#include <QtQml/qqmlregistration.h>

#include <QFileDialog>

class QQuickItem;
class QQuickWindow;

// Saves an HTML attachment's file: a save dialog proposes the file's own name, and the bytes as sent are
// written where the user chose, replacing what is there. A failure shows in the inbox's action error. The
// dialog holds the panel open while it shows, as the panel's menus do.
//
// The dialog belongs to the panel it was asked from: transient for the panel's window and kept above it
// (the panel stays above every other window), on the panel's screen, clear of the card. The panel is found
// through the item the saver is declared in.
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
    // The item the saver belongs to, if it is declared in one.
    QQuickItem *ownerItem() const;
    // Ties the dialog to the panel window that shows `owner`, and places it beside the card.
    static void attachToPanel(QFileDialog &dialog, QQuickItem &owner);

    QPointer<QFileDialog> m_dialog;
};
