#pragma once

#include "KeyedListModel.h"

#include <QList>
#include <QString>
#include <QUuid>

// The rows under the selected message: its conversation's replies (live, a pending reply included) or its
// demo replies. Rows keep their identity by id, so a refresh or a new reply changes only what changed and
// the view keeps its scroll position.
class ConversationRowList final : public KeyedListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
public:
    struct Row
    {
        QUuid id;
        QString sender;
        QString body;
        QString status;
        QString messageID;   // the row's message for its focus button; empty for a pending reply
        bool pending = false; // a reply sent from here that no snapshot has shown yet
        bool outgoing = false; // the user's own demo reply (a chat bubble on the right)
        bool focused = false;
        bool released = true;
        QString subject;     // what the focus button's accessible name reads

        friend bool operator==(const Row &, const Row &) = default;
    };

    enum Role {
        IdRole = Qt::UserRole + 1,
        SenderRole,
        BodyRole,
        StatusRole,
        MessageIdRole,
        PendingRole,
        OutgoingRole,
        FocusedRole,
        ReleasedRole,
        FocusTooltipRole,
        FocusAccessibleNameRole,
        FocusAccessibleValueRole,
    };

    explicit ConversationRowList(QObject *parent) : KeyedListModel(parent) {}

    // Shows `rows` by diff against the rows on show.
    void show(const QList<Row> &rows);
    const QList<Row> &rows() const { return m_rows; }
    int count() const { return int(m_rows.size()); }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    QList<Row> m_rows;
};
