#include "DemoSamples.h"

#include "DemoVisualizationPage.h"

#include <algorithm>

namespace {

Message demoMessage(const QString &sender, const QString &initials, const QString &subject, const QString &body,
                    const QString &category, MessageColor color, bool unread)
{
    Message message;
    message.id = QUuid::createUuid();
    message.sender = sender;
    message.initials = initials;
    message.subject = subject;
    message.body = body;
    message.category = category;
    message.color = color;
    message.unread = unread;
    message.scope = InboxScope::personal();
    message.kind = ConversationKind::inbox;
    message.conversation = QStringLiteral("Personal message");
    message.conversationID = QStringLiteral("demo-personal-conversation");
    message.senderAccountID = QStringLiteral("demo-sender");
    message.released = true;
    message.sentAt = 0;
    return message;
}

Message teamMessage(const QString &sender, const QString &initials, const InboxScope &scope, ConversationKind kind,
                    const QString &subject, const QString &body, const QString &category, MessageColor color,
                    bool unread, bool released, const QString &conversation, const QString &conversationID,
                    const QString &senderAccountID)
{
    Message message = demoMessage(sender, initials, subject, body, category, color, unread);
    message.scope = scope;
    message.kind = kind;
    message.released = released;
    message.conversation = conversation;
    message.conversationID = conversationID;
    message.senderAccountID = senderAccountID;
    return message;
}

DemoReply reply(const QString &sender, const QString &body)
{
    return {QUuid::createUuid(), sender, body};
}

const QString launchNote = QStringLiteral(
    "I spent some time with the launch plan this week, and I think we are close. A few thoughts on direction "
    "before Thursday.\n\n"
    "First, the opening screen should feel quieter. Right now it asks for three decisions before anyone has seen "
    "a single message. Let's show the inbox first and let everything else wait until it is needed.\n\n"
    "Second, the walkthrough. I'd like it to follow one small story: a teammate shares an update, you find it in "
    "your inbox, you read it, and you focus it so your agent can use it as context. If that loop feels effortless, "
    "the rest of the product will make sense.\n\n"
    "Third, the landing page should tell exactly the same story, in the same order, with the same words. People "
    "notice when the promise and the product drift apart.\n\n"
    "Before the meeting, could you check these four questions:\n"
    "• Is the first message visible without scrolling?\n"
    "• Can someone focus a message in one step?\n"
    "• Does the empty state explain what will arrive?\n"
    "• Is there anything we could remove?\n\n"
    "One more observation: long updates like this one need more reading space, while short notes should stay "
    "compact. The reader could grow for the long ones and stay small for everything else.\n\n"
    "Thanks for carrying this. It is in a good place.");

} // namespace

const DemoSamples &DemoSamples::instance()
{
    static const DemoSamples samples;
    return samples;
}

DemoSamples::DemoSamples()
{
    m_personal = {
        demoMessage(QStringLiteral("Nora Patel"), QStringLiteral("NP"), QStringLiteral("A little direction for the launch"),
                    launchNote, QStringLiteral("Feedback & ideas"), {0.68, 0.75, 1.0, 1.0}, true),
        demoMessage(QStringLiteral("Owen Brandt"), QStringLiteral("OB"), QStringLiteral("Coffee next week?"),
                    QStringLiteral("I'll be in town on Tuesday and Wednesday. It would be great to catch up and hear "
                                   "what you're building.\n\nHow does Wednesday morning sound?"),
                    QStringLiteral("Needs response"), {1.0, 0.74, 0.52, 1.0}, true),
        demoMessage(QStringLiteral("Lena Fischer"), QStringLiteral("LF"), QStringLiteral("The new build is ready to try"),
                    QStringLiteral("The latest prototype is ready. We tightened the spacing and simplified the "
                                   "first-run experience.\n\nEverything is in a good place for a fresh pair of eyes."),
                    QStringLiteral("Updates & context"), {0.57, 0.85, 0.7, 1.0}, false),
    };

    m_visualization = demoMessage(
        QStringLiteral("Demo agent"), QStringLiteral("DA"), QStringLiteral("Team pulse · interactive demo"),
        QStringLiteral("Explore a fictional team: Overview, Inbox, and Insights.") + DemoVisualizationPage::fence(),
        QStringLiteral("Updates & context"), MessageColor::pink(), true);

    Message first = demoMessage(QStringLiteral("Devon Hale"), QStringLiteral("DH"), QStringLiteral("Thought you’d like this"),
                                QStringLiteral("A small idea for the next iteration: make the most useful thing also the "
                                               "easiest thing to reach.\n\nThis is a simulated message. Nothing was "
                                               "sent or received."),
                                QStringLiteral("Feedback & ideas"), {0.84, 0.68, 1.0, 1.0}, true);
    Message second = demoMessage(QStringLiteral("Nora Patel"), QStringLiteral("NP"), QStringLiteral("One more thing…"),
                                 QStringLiteral("The prototype is feeling good. Let's try it with a few real "
                                                "conversations once the connection is ready.\n\nThis is a simulated "
                                                "message."),
                                 QStringLiteral("Updates & context"), {0.68, 0.75, 1.0, 1.0}, true);
    m_arrivals = {first, second};
}

QList<Message> DemoSamples::samples() const
{
    QList<Message> list;
    for (qsizetype i = 0; i < m_personal.size(); ++i) {
        Message message = m_personal[i];
        message.senderAccountID = QStringLiteral("demo-person-%1").arg(i);
        message.conversationID = QStringLiteral("demo-personal-%1").arg(i);
        list.append(message);
    }
    const InboxScope personal = InboxScope::personal();
    const InboxScope team = InboxScope::demoTeamLaunch();

    list.append(teamMessage(QStringLiteral("Iris Moreau"), QStringLiteral("IM"), personal, ConversationKind::inbox,
                            QStringLiteral("An introduction from the design community"),
                            QStringLiteral("I'd like to introduce you to a small team working on shared research "
                                           "tools.\n\nThis fictional message is waiting for owner review. It is not "
                                           "available to the agent."),
                            QStringLiteral("Introductions & opportunities"), MessageColor::pink(), false, false,
                            QStringLiteral("Personal message"), QStringLiteral("demo-personal-review"),
                            QStringLiteral("demo-iris")));

    Message checklist = teamMessage(
        QStringLiteral("Nora Patel"), QStringLiteral("NP"), team, ConversationKind::inbox,
        QStringLiteral("Launch checklist — ready for review"),
        QStringLiteral("The updated checklist is in the shared inbox. Could everyone review their section before "
                       "Thursday?\n\nDesign is ready; we still need a final pass on onboarding and the release notes."),
        QStringLiteral("Launch"), {0.68, 0.75, 1.0, 1.0}, true, true, QStringLiteral("Shared inbox"),
        QStringLiteral("demo-launch-checklist"), QStringLiteral("demo-person-0"));
    checklist.replies = {reply(QStringLiteral("Lena Fischer"), QStringLiteral("Onboarding is checked. The first-run copy is ready.")),
                         reply(QStringLiteral("You"), QStringLiteral("I'll take the release notes and share a draft here."))};
    list.append(checklist);

    Message onboarding = teamMessage(
        QStringLiteral("Lena Fischer"), QStringLiteral("LF"), team, ConversationKind::thread,
        QStringLiteral("A quieter first-run experience"),
        QStringLiteral("Let's keep the first screen focused on the inbox. We can introduce labels after the first "
                       "message arrives."),
        QStringLiteral("Design"), {0.57, 0.85, 0.7, 1.0}, true, true, QStringLiteral("Onboarding"),
        QStringLiteral("demo-thread-onboarding"), QStringLiteral("demo-person-2"));
    onboarding.replies = {reply(QStringLiteral("Nora Patel"), QStringLiteral("Agreed. I'll update the empty state to match."))};
    list.append(onboarding);

    list.append(teamMessage(QStringLiteral("Owen Brandt"), QStringLiteral("OB"), team, ConversationKind::direct,
                            QStringLiteral("Can you review the release notes?"),
                            QStringLiteral("I have a draft ready. Could you check the section on personal and team "
                                           "inboxes?\n\nThis direct conversation is only between us within Launch crew."),
                            QStringLiteral("Release"), MessageColor::orange(), false, true, QStringLiteral("Owen Brandt"),
                            QStringLiteral("demo-direct-owen"), QStringLiteral("demo-person-1")));

    list.append(teamMessage(QStringLiteral("Devon Hale"), QStringLiteral("DH"), team, ConversationKind::inbox,
                            QStringLiteral("Partner feedback on the launch"),
                            QStringLiteral("Here is the partner feedback for the launch discussion.\n\nThis fictional "
                                           "team message awaits your approval before your agent can read it."),
                            QStringLiteral("Feedback"), MessageColor::purple(), false, false,
                            QStringLiteral("Shared inbox"), QStringLiteral("demo-team-review"),
                            QStringLiteral("demo-devon")));
    return list;
}

Message DemoSamples::arrival(int index, const InboxScope &scope) const
{
    const Message &templateMessage = m_arrivals.at(index % 2);

    Message message;
    message.id = QUuid::createUuid();
    message.sender = templateMessage.sender;
    message.initials = templateMessage.initials;
    message.subject = templateMessage.subject;
    message.color = templateMessage.color;
    if (scope.isPersonal()) {
        message.body = templateMessage.body;
        message.category = templateMessage.category;
        message.conversation = QStringLiteral("Personal message");
    } else {
        message.body = QStringLiteral("The updated launch checklist is ready for the team to review.\n\n"
                                      "This is a local demo arrival.");
        message.category = QStringLiteral("Launch");
        message.conversation = QStringLiteral("Shared inbox");
    }
    message.unread = true;
    message.scope = scope;
    message.kind = ConversationKind::inbox;
    message.conversationID = QStringLiteral("demo-arrival-%1").arg(index);
    message.senderAccountID = QStringLiteral("demo-devon");
    message.released = true;
    message.sentAt = 0;
    return message;
}

bool DemoSamples::offersTeamLabel(const QString &label) const
{
    const QList<Message> all = samples();
    return std::any_of(all.cbegin(), all.cend(), [&](const Message &sample) {
        return sample.scope == InboxScope::demoTeamLaunch() && sample.category == label;
    });
}
