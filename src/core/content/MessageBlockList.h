#pragma once

#include "MessageContent.h"

#include <QAbstractListModel>
#include <QString>

#include <memory>

// The text blocks of one parsed body, as the reader lists them (one row a block, in order). A new body
// replaces the rows; the same body again changes nothing, so the reader keeps its scroll position across
// refreshes.
class MessageBlockList final : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ count NOTIFY countChanged)
    // The body's HTML attachments, shown after the blocks.
    Q_PROPERTY(int attachmentCount READ attachmentCount NOTIFY countChanged)
public:
    enum Role {
        KindRole = Qt::UserRole + 1, // "paragraph", "heading", "item", "quote" or "code" (or "header", "footer")
        HtmlRole,                    // the styled text as escaped rich text (not for code)
        TextRole,                    // the block's plain text (the code itself for code)
        MarkerRole,                  // an item's marker as written ("•" for bullets)
    };

    // The tint of links in the reader.
    static inline const QString linkColour = QStringLiteral("#f0b3c4");

    explicit MessageBlockList(QObject *parent) : QAbstractListModel(parent) {}

    // A framed list has a row of kind "header" before the blocks and one of kind "footer" after them (while a
    // body shows), so that a reader can scroll its own parts with the text in one virtualised list.
    void setFramed(bool framed);

    // Shows `content`, parsed from `body`; null shows nothing.
    void show(const QString &body, std::shared_ptr<const MessageContent> content);
    int count() const { return m_content ? int(m_content->blocks().size()) : 0; }
    int attachmentCount() const { return m_content ? int(m_content->attachments().size()) : 0; }
    // An attachment's file name and HTML text (empty for an index out of range).
    Q_INVOKABLE QString attachmentName(int index) const;
    Q_INVOKABLE QString attachmentHtml(int index) const;
    // Saves an attachment's file to `path`; the one-line error when that failed, else an empty text.
    Q_INVOKABLE QString saveAttachment(int index, const QString &path) const;
    // The body on show, or nothing.
    const std::optional<QString> &body() const { return m_body; }

    int rowCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

Q_SIGNALS:
    void countChanged();

private:
    // Rows are read straight from the parsed content: a long body costs only the rows on screen.
    std::optional<QString> m_body;
    bool m_framed = false;
    std::shared_ptr<const MessageContent> m_content;
    // The styled text of the block last asked for: a delegate asks for its html and its plain text in turn.
    const StyledText &styled(std::size_t block) const;
    mutable std::optional<std::pair<std::size_t, StyledText>> m_styled;
};
