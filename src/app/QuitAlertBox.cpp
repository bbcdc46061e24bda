#include "QuitAlertBox.h"

#include <QCoreApplication>
#include <QMessageBox>
#include <QPushButton>

std::unique_ptr<QMessageBox> QuitAlertBox::build(const AppDelegate::QuitAlert &alert, QList<QPushButton *> &buttons)
{
    auto box = std::make_unique<QMessageBox>();
    box->setIcon(QMessageBox::Warning);
    box->setWindowTitle(QCoreApplication::applicationName());
    box->setText(alert.text);
    box->setInformativeText(alert.informativeText);
    box->setWindowFlag(Qt::WindowStaysOnTopHint);
    buttons.clear();
    for (const QString &title : alert.buttons)
        buttons.append(box->addButton(title, QMessageBox::ActionRole));
    if (!buttons.isEmpty()) {
        box->setDefaultButton(buttons.value(alert.defaultButton, buttons.first()));
        // Escape keeps what the default keeps: the first button is the safe one.
        box->setEscapeButton(buttons.first());
    }
    return box;
}

int QuitAlertBox::run(const AppDelegate::QuitAlert &alert)
{
    QList<QPushButton *> buttons;
    const std::unique_ptr<QMessageBox> box = build(alert, buttons);
    if (buttons.isEmpty())
        return 0;
    box->show();
    box->raise();
    box->activateWindow();
    box->exec();
    const qsizetype chosen = buttons.indexOf(static_cast<QPushButton *>(box->clickedButton()));
    return chosen < 0 ? alert.defaultButton : int(chosen);
}
