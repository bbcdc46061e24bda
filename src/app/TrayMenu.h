#pragma once

#include <QMenu>

class QAction;

// The status menu: "Open inbox", "Simulate message in another inbox" (demo only), the checkable "Start at
// login" and "Quit Tandrel Notch", with their key equivalents shown. Remembers whether an item was chosen from the keyboard (its shortcut,
// or Return on a highlighted item), because opening the inbox from the keyboard does not animate.
class TrayMenu final : public QMenu
{
    Q_OBJECT
public:
    explicit TrayMenu(bool demo, QWidget *parent = nullptr);

    QAction *openAction() const { return m_open; }
    QAction *simulateAction() const { return m_simulate; }
    QAction *startAtLoginAction() const { return m_startAtLogin; }
    QAction *quitAction() const { return m_quit; }

Q_SIGNALS:
    void openInboxRequested(bool fromKeyboard);
    void simulateRequested();
    // The user checked or unchecked "Start at login".
    void startAtLoginRequested(bool on);
    void quitRequested();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    QAction *addItem(const QString &title, QKeyCombination key);

    QAction *m_open = nullptr;
    QAction *m_simulate = nullptr;
    QAction *m_startAtLogin = nullptr;
    QAction *m_quit = nullptr;
    bool m_fromKeyboard = false;
};
