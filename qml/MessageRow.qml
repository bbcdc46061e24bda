pragma ComponentBehavior: Bound
import QtQuick
import QtQuick.Layouts
import TandrelNotch

// One row of the message list: the card, the row button (avatar, sender, preview, meta line), the label
// menu of team messages and the compact focus button of the card's focus target.
Item {
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
    readonly property color grey: "#8e8e93"

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
                                width: Math.min(implicitWidth, parent.width - (row.hasUnread ? badge.width + 6 : 0))
                                text: row.sender
                                color: "white"
                                elide: Text.ElideRight
                                font.pixelSize: 12
                                font.weight: Font.DemiBold
                            }
                            Rectangle {
                                id: badge
                                visible: row.hasUnread
                                anchors.verticalCenter: parent.verticalCenter
                                width: newText.implicitWidth + 10
                                height: newText.implicitHeight + 4
                                radius: 4
                                color: Qt.rgba(1, 1, 1, 0.07)
                                Accessible.role: Accessible.StaticText
                                Accessible.name: qsTr("Unopened message")
                                Text {
                                    id: newText
                                    anchors.centerIn: parent
                                    text: qsTr("New")
                                    color: Qt.rgba(1, 1, 1, 0.6)
                                    font.pixelSize: 9
                                    font.weight: Font.Medium
                                }
                            }
                        }
                        Text {
                            Layout.fillWidth: true
                            text: row.preview
                            color: Qt.rgba(1, 1, 1, 0.75)
                            elide: Text.ElideRight
                            maximumLineCount: 1
                            font.pixelSize: 12
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
                                visible: row.metaConversation.length > 0
                                text: row.metaConversation
                                color: row.grey
                                font.pixelSize: 10
                            }
                            Repeater {
                                model: row.metaCounts
                                Text {
                                    required property string modelData
                                    text: modelData
                                    color: row.grey
                                    font.pixelSize: 10
                                }
                            }
                            Text {
                                visible: row.review
                                text: qsTr("· Review")
                                color: "orange"
                                font.pixelSize: 10
                            }
                        }
                    }
                }

                RowButton {
                    id: button
                    objectName: "rowButton"
                    anchors.fill: parent
                    onClicked: row.inbox.selectMessage(row.messageId)
                    Accessible.role: Accessible.Button
                    Accessible.name: row.sender + ", " + row.preview
                    Accessible.onPressAction: row.inbox.selectMessage(row.messageId)
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
            onToggled: row.inbox.toggleCardFocus(row.messageId)
        }
    }
}
