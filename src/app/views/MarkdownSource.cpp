#include "MarkdownSource.h"

MarkdownSource::MarkdownSource(QObject *parent) : QObject(parent), m_blocks(new MessageBlockList(this)) {}

void MarkdownSource::setInbox(Inbox *inbox)
{
    if (m_inbox == inbox)
        return;
    m_inbox = inbox;
    parse();
    Q_EMIT inboxChanged();
}

void MarkdownSource::setText(const QString &text)
{
    if (m_text == text)
        return;
    m_text = text;
    parse();
    Q_EMIT textChanged();
}

void MarkdownSource::parse()
{
    m_blocks->show(m_text, m_inbox ? m_inbox->contentCache().content(m_text) : nullptr);
}
