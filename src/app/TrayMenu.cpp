#include "TrayMenu.h"

#include <QAction>
#include <QKeyEvent>

TrayMenu::TrayMenu(bool demo, QWidget *parent)
    : QMenu(parent)
{
    m_open = addItem(tr("Open inbox"), Qt::CTRL | Qt::Key_O);
    if (demo)
        m_simulate = addItem(tr("Simulate message in another inbox"), Qt::CTRL | Qt::Key_N);
    addSeparator();
    m_startAtLogin = addAction(tr("Start at login"));
    m_startAtLogin->setCheckable(true);
    addSeparator();
    m_quit = addItem(tr("Quit Tandrel Notch"), Qt::CTRL | Qt::Key_Q);

    connect(m_open, &QAction::triggered, this, [this] { Q_EMIT openInboxRequested(m_fromKeyboard); });
    if (m_simulate)
        connect(m_simulate, &QAction::triggered, this, &TrayMenu::simulateRequested);
    connect(m_startAtLogin, &QAction::triggered, this, &TrayMenu::startAtLoginRequested);
    connect(m_quit, &QAction::triggered, this, &TrayMenu::quitRequested);
}

QAction *TrayMenu::addItem(const QString &title, QKeyCombination key)
{
    QAction *action = addAction(title);
    action->setShortcut(QKeySequence(key));
    action->setShortcutVisibleInContextMenu(true);
    action->installEventFilter(this);
    return action;
}

bool TrayMenu::eventFilter(QObject *watched, QEvent *event)
{
    // A shortcut reaches the action as a Shortcut event; trigger it here so the flag spans the trigger.
    if (event->type() == QEvent::Shortcut) {
        if (auto *action = qobject_cast<QAction *>(watched); action && action->isEnabled()) {
            m_fromKeyboard = true;
            action->trigger();
            m_fromKeyboard = false;
            close();
            return true;
        }
    }
    return QMenu::eventFilter(watched, event);
}

void TrayMenu::keyPressEvent(QKeyEvent *event)
{
    m_fromKeyboard = true;
    QMenu::keyPressEvent(event);
    m_fromKeyboard = false;
}
