#pragma once

#include "AppDelegate.h"

#include <QList>

#include <memory>

class QMessageBox;
class QPushButton;

// The quit guard's modal warning as a message box whose buttons keep the alert's order on every desktop
// (left to right, the first one the default): all of them take one button role, since each desktop's
// button layout would otherwise sort them by role.
class QuitAlertBox
{
public:
    // The box, not shown yet, with its buttons in the alert's order.
    static std::unique_ptr<QMessageBox> build(const AppDelegate::QuitAlert &alert, QList<QPushButton *> &buttons);
    // Shows the alert modally; the index of the chosen button (the default one when closed otherwise).
    static int run(const AppDelegate::QuitAlert &alert);
};
