#include "VisualizationSaver.h"

#include "PanelMenu.h"

#include "content/VisualizationDocument.h"

#include <QFileDialog>

VisualizationSaver::VisualizationSaver(QObject *parent) : QObject(parent) {}

VisualizationSaver::~VisualizationSaver()
{
    if (m_dialog)
        m_dialog->close();
}

void VisualizationSaver::save(Inbox *inbox, MessageBlockList *blocks, int index)
{
    if (m_dialog || !blocks || index < 0 || index >= blocks->attachmentCount())
        return;
    auto *dialog = new QFileDialog;
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    dialog->setAcceptMode(QFileDialog::AcceptSave);
    dialog->setFileMode(QFileDialog::AnyFile);
    dialog->selectFile(blocks->attachmentName(index));
    m_dialog = dialog;

    QPointer<Inbox> target(inbox);
    QPointer<MessageBlockList> source(blocks);
    connect(dialog, &QFileDialog::fileSelected, this, [target, source, index](const QString &path) {
        if (path.isEmpty())
            return;
        const QString error =
            source ? source->saveAttachment(index, path) : VisualizationDocument::saveFailedText();
        if (!error.isEmpty() && target)
            target->setActionError(error);
    });
    // The panel treats the dialog like one of its menus: hover and outside clicks wait until it closes.
    Q_EMIT PanelMenu::activity().began();
    connect(dialog, &QObject::destroyed, &PanelMenu::activity(), [] { Q_EMIT PanelMenu::activity().ended(); });
    dialog->open();
}
