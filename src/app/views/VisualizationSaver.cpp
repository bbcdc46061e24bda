#include "VisualizationSaver.h"

#include "PanelMenu.h"

#include "content/VisualizationDocument.h"

#include "VisualizationDialogPlacement.h"

#include <QFileDialog>
#include <QQuickItem>
#include <QQuickWindow>
#include <QScreen>
#include <QWindow>

namespace {

// Room the window manager's frame takes around the dialog (its title bar above), which is not known before
// the dialog is first shown.
constexpr QMargins frameAllowance(6, 32, 6, 6);

// The card: the notch surface that shows `item`, in screen coordinates; without one, the item's window.
QRect cardArea(QQuickItem &item)
{
    for (QQuickItem *ancestor = &item; ancestor; ancestor = ancestor->parentItem()) {
        if (ancestor->objectName() == QLatin1String("notchSurface")) {
            const QPointF origin = ancestor->mapToGlobal(QPointF(0, 0));
            return QRectF(origin, QSizeF(ancestor->width(), ancestor->height())).toAlignedRect();
        }
    }
    return item.window()->geometry();
}

} // namespace

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
    if (QQuickItem *owner = ownerItem(); owner && owner->window())
        attachToPanel(*dialog, *owner);
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

QQuickItem *VisualizationSaver::ownerItem() const
{
    for (QObject *object = parent(); object; object = object->parent()) {
        if (auto *item = qobject_cast<QQuickItem *>(object))
            return item;
    }
    return nullptr;
}

void VisualizationSaver::attachToPanel(QFileDialog &dialog, QQuickItem &owner)
{
    QQuickWindow *panel = owner.window();
    QScreen *screen = panel->screen();
    // The panel stays above ordinary windows; the dialog has to as well, or it opens under the card.
    dialog.setWindowFlag(Qt::WindowStaysOnTopHint);
    dialog.setScreen(screen);
    dialog.winId(); // the dialog's own window, to be made the panel's
    dialog.windowHandle()->setTransientParent(panel);

    const QSize frame(frameAllowance.left() + frameAllowance.right(), frameAllowance.top() + frameAllowance.bottom());
    const QRect place = VisualizationDialogPlacement::place(
        screen->availableGeometry(), cardArea(owner), dialog.sizeHint().expandedTo(dialog.size()) + frame,
        dialog.minimumSizeHint().expandedTo(dialog.minimumSize()) + frame);
    // The dialog's own area inside the place, leaving its frame the room the frame takes.
    dialog.setGeometry(place.marginsRemoved(frameAllowance));
}
