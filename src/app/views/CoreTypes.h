#pragma once

#include "content/MessageBlockList.h"
#include "inbox/Inbox.h"
#include "inbox/ListControls.h"
#include "inbox/ReaderState.h"
#include "inbox/VisibleMessageList.h"

#include <QtQml/qqml.h>

// The core's observable types as the views see them: typed, so that bindings are checked and compiled.
// The application creates them; the views only read them and call their operations.

struct InboxForeign
{
    Q_GADGET
    QML_FOREIGN(Inbox)
    QML_NAMED_ELEMENT(Inbox)
    QML_UNCREATABLE("The application owns the inbox.")
};

struct VisibleMessageListForeign
{
    Q_GADGET
    QML_FOREIGN(VisibleMessageList)
    QML_NAMED_ELEMENT(VisibleMessageList)
    QML_UNCREATABLE("The inbox owns its visible rows.")
};

struct ListControlsForeign
{
    Q_GADGET
    QML_FOREIGN(ListControls)
    QML_NAMED_ELEMENT(ListControls)
    QML_UNCREATABLE("The inbox owns its list controls.")
};

struct MessageBlockListForeign
{
    Q_GADGET
    QML_FOREIGN(MessageBlockList)
    QML_NAMED_ELEMENT(MessageBlockList)
    QML_UNCREATABLE("Blocks come from the inbox or from a MarkdownSource.")
};

struct ReaderStateForeign
{
    Q_GADGET
    QML_FOREIGN(ReaderState)
    QML_NAMED_ELEMENT(ReaderState)
    QML_UNCREATABLE("The inbox owns the reader's state.")
};

struct ConversationRowListForeign
{
    Q_GADGET
    QML_FOREIGN(ConversationRowList)
    QML_NAMED_ELEMENT(ConversationRowList)
    QML_UNCREATABLE("The reader owns its conversation rows.")
};
