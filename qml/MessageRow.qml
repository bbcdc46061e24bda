pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import TandrelNotch

// One row of the message list: the card, the row button (avatar, sender, preview, meta line), the label
// menu of team messages and the compact focus button of the card's focus target. Only the list's current
// row is in the Tab order (Up and Down choose it), so that Tab leaves the list instead of walking every row.
FocusScope {
    id: row
    required property Inbox inbox
    required property color focusPink
    required property bool reduceMotion

    required property string messageId
    required property string sender
    required property string initials
    required property string subject
    required property string category
    required property string accentColor
    required property string scope
    required property bool focused
    required property bool hasUnread
    required property string preview
    required property string labelColor
    required property string metaChip
    required property string metaConversation
    required property var metaCounts
    required property bool review
    required property string focusTargetId
    required property bool focusTargetFocused
    required property bool focusTargetReleased
    required property string focusTooltip
    required property string focusAccessibleName
    required property string focusAccessibleValue
    required property string teamLabelAccessibleName

    readonly property bool team: scope !== "personal"
    readonly property bool current: ListView.isCurrentItem
    readonly property color grey: NotchStyle.grey

    implicitHeight: layout.implicitHeight

    MessageCardHighlight {
        objectName: "cardHighlight"
        anchors.fill: parent
        focused: row.focused
        tint: row.focusPink
        hovered: hover.hovered
    }
    HoverHandler {
        id: hover
    }

    RowLayout {
        id: layout
        width: row.width
        spacing: 0

        ColumnLayout {
            Layout.fillWidth: true
            Layout.alignment: Qt.AlignTop
            spacing: 0

            // The row's label, with the button over it.
            Item {
                Layout.fillWidth: true
                implicitHeight: label.implicitHeight
                RowLayout {
                    id: label
                    anchors.fill: parent
                    opacity: button.pressed ? 0.7 : 1
                    spacing: 11
                    MessageAvatar {
                        Layout.alignment: Qt.AlignTop
                        Layout.topMargin: 11
                        Layout.leftMargin: 11
                        Layout.bottomMargin: 11
                        initials: row.initials
                        tint: row.accentColor
                    }
                    ColumnLayout {
                        Layout.fillWidth: true
                        Layout.alignment: Qt.AlignTop
                        Layout.topMargin: 11
                        Layout.rightMargin: 11
                        Layout.bottomMargin: 11
                        spacing: 5

                        Row {
                            Layout.fillWidth: true
                            spacing: 6
                            Text {
                                textFormat: Text.PlainText
                                width: Math.min(implicitWidth, parent.width - (row.hasUnread ? badge.width + 6 : 0))
                                text: row.sender
                                color: NotchStyle.white
                                elide: Text.ElideRight
                                font.pixelSize: NotchStyle.rowSize
                                font.weight: Font.DemiBold
                            }
                            Rectangle {
                                id: badge
                                visible: row.hasUnread
                                anchors.verticalCenter: parent.verticalCenter
                                width: newText.implicitWidth + 10
                                height: newText.implicitHeight + 4
                                radius: NotchStyle.chipRadius
                                color: NotchStyle.badgeFill
                                Accessible.role: Accessible.StaticText
                                Accessible.name: qsTr("Unopened message")
                                Text {
                                    id: newText
                                    textFormat: Text.PlainText
                                    anchors.centerIn: parent
                                    text: qsTr("New")
                                    color: NotchStyle.badgeText
                                    font.pixelSize: NotchStyle.badgeSize
                                    font.weight: Font.Medium
                                }
                            }
                        }
                        Text {
                            textFormat: Text.PlainText
                            Layout.fillWidth: true
                            text: row.preview
                            color: NotchStyle.previewText
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pixelSize: NotchStyle.rowSize
                        }
                        Row {
                            id: meta
                            Layout.fillWidth: true
                            spacing: 5
                            clip: true
                            LabelChip {
                                visible: row.metaChip.length > 0
                                anchors.verticalCenter: parent.verticalCenter
                                label: row.metaChip
                                fill: row.labelColor
                            }
                            Text {
                                textFormat: Text.PlainText
                                visible: row.metaConversation.length > 0
                                text: row.metaConversation
                                color: row.grey
                                font.pixelSize: NotchStyle.metaSize
                            }
                            Repeater {
                                model: row.metaCounts
                                Text {
                                    textFormat: Text.PlainText
                                    required property string modelData
                                    text: modelData
                                    color: row.grey
                                    font.pixelSize: NotchStyle.metaSize
                                }
                            }
                            Text {
                                textFormat: Text.PlainText
                                visible: row.review
                                text: qsTr("· Review")
                                color: NotchStyle.orange
                                font.pixelSize: NotchStyle.metaSize
                            }
                        }
                    }
                }

                RowButton {
                    id: button
                    objectName: "rowButton"
                    anchors.fill: parent
                    focus: true
                    focusPolicy: row.current || activeFocus ? Qt.TabFocus : Qt.NoFocus
                    onClicked: row.inbox.selectMessage(row.messageId)
                    Accessible.name: row.sender + ", " + row.preview
                }
            }

            TeamLabelMenu {
                visible: row.team && implicitWidth > 0
                Layout.leftMargin: 58
                Layout.bottomMargin: 10
                inbox: row.inbox
                messageId: row.messageId
                category: row.category
                labelColor: row.labelColor
                accessibleName: row.teamLabelAccessibleName
                keyboardReachable: row.current
            }
        }

        FocusButton {
            objectName: "focusButton"
            Layout.alignment: Qt.AlignVCenter
            Layout.rightMargin: 8
            compact: true
            focused: row.focusTargetFocused
            released: row.focusTargetReleased
            tooltip: row.focusTooltip
            accessibleName: row.focusAccessibleName
            accessibleValue: row.focusAccessibleValue
            focusPink: row.focusPink
            reduceMotion: row.reduceMotion
            keyboardReachable: row.current
            onToggled: row.inbox.toggleCardFocus(row.messageId)
        }
    }
}
