#pragma once

#include "records/Message.h"

#include <QCoreApplication>
#include <QString>
#include <QStringList>

// The texts of one row of the message list: its meta line and its focus button.
class MessageRowText
{
public:
    // The meta line under the preview, left to right.
    struct Meta
    {
        QString chipLabel;    // the personal inbox shows the category as a label chip; empty for none
        QString conversation; // team inboxes name the conversation (not for the shared inbox itself)
        QStringList counts;   // "3 messages" (live, threads of more than one) and "1 reply" / "2 replies"
        bool review = false;  // ends with "· Review" (not yet released)

        friend bool operator==(const Meta &, const Meta &) = default;
    };
    static Meta meta(const Message &message, bool live, int memberCount);
    // An avatar colour as "#rrggbb".
    static QString colorHex(const MessageColor &color);
    static QString reviewText() { return QCoreApplication::translate("MessageRowText", "· Review"); }

    // The focus button: its title, tooltip and what a screen reader says.
    static QString focusTitle(bool focused);
    static QString focusTooltip(bool released, bool focused);
    static QString focusAccessibleName(bool focused, const QString &sender, const QString &subject);
    static QString focusAccessibleValue(bool focused);
    // The demo's label menu on a team message.
    static QString teamLabelAccessibleName(const QString &subject, const QString &category);
};
