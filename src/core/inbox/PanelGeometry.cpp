#include "PanelGeometry.h"

#include "Inbox.h"

#include "notch/NotchGeometry.h"
#include "notch/ReaderSizeEstimator.h"

#include <utility>

NotchPresentation PanelGeometry::presentation()
{
    const bool expanded = m_inbox.expanded();
    const NotchPresentation::Phase phase = !expanded                 ? NotchPresentation::Phase::collapsed
                                           : !m_inbox.hasSelection() ? NotchPresentation::Phase::list
                                           : m_inbox.readerTucked()  ? NotchPresentation::Phase::preview
                                                                     : NotchPresentation::Phase::reader;
    return {phase, QSizeF(expanded ? contentWidth() + NotchGeometry::horizontalPadding : compactWidth(), height())};
}

double PanelGeometry::compactWidth() const
{
    return NotchGeometry::compactWidth(m_inbox.totalUnreadCount(), m_inbox.hasNotch(), m_inbox.notchWidth(),
                                       m_inbox.keepsTab());
}

double PanelGeometry::contentWidth()
{
    const bool selection = m_inbox.hasSelection();
    return NotchGeometry::contentWidth(selection, selection ? readerSize() : QSizeF());
}

double PanelGeometry::contentHeight()
{
    const bool selection = m_inbox.hasSelection();
    const bool tucked = m_inbox.readerTucked();
    return NotchGeometry::contentHeight(selection, tucked, selection && !tucked ? readerSize() : QSizeF());
}

double PanelGeometry::height()
{
    const bool expanded = m_inbox.expanded();
    return NotchGeometry::height(expanded, m_inbox.totalUnreadCount(), m_inbox.hasNotch(), m_inbox.topInset(),
                                 expanded ? contentHeight() : 0, m_inbox.keepsTab());
}

bool PanelGeometry::canResizeReader()
{
    const bool selection = m_inbox.hasSelection();
    return NotchGeometry::canResizeReader(selection, selection ? readerSize().height() : 0);
}

QSizeF PanelGeometry::readerSize()
{
    if (!m_cachedReaderSize)
        m_cachedReaderSize = measureReaderSize();
    return *m_cachedReaderSize;
}

QSizeF PanelGeometry::measureReaderSize()
{
    const std::optional<Message> message = m_inbox.selected();
    if (!message)
        return {NotchGeometry::listContentWidth, NotchGeometry::listContentHeight};

    ReaderSizeEstimator::Input input;
    input.subject = message->subject;
    input.body = message->body;
    input.hasAttachment = !m_inbox.contentCache().content(message->body)->attachments().empty();
    input.live = m_inbox.live();
    if (input.hasAttachment || !m_textMeasurer) {
        // Without text measurement every message fits the standard card.
        return input.hasAttachment
                   ? QSizeF(ReaderSizeEstimator::attachmentWidth, ReaderSizeEstimator::attachmentHeight)
                   : QSizeF(NotchGeometry::listContentWidth, NotchGeometry::listContentHeight);
    }
    for (const Message &member : m_inbox.members(*message)) {
        if (member.id != message->id)
            input.memberBodies.append(member.body);
    }
    for (const DemoReply &reply : message->replies)
        input.replyBodies.append(reply.body);
    return ReaderSizeEstimator::measureReaderSize(input, *m_textMeasurer);
}

bool PanelGeometry::setTextMeasurer(const TextMeasurer *measurer)
{
    if (m_textMeasurer == measurer)
        return false;
    m_textMeasurer = measurer;
    m_cachedReaderSize.reset();
    return true;
}

bool PanelGeometry::update()
{
    Values now{presentation(), compactWidth(), contentWidth(), contentHeight(), height(), canResizeReader()};
    if (now == m_values)
        return false;
    m_values = std::move(now);
    return true;
}
