pragma ComponentBehavior: Bound
import QtQuick
import TandrelNotch
import QtQuick.Controls.Basic as Q

// One text block of a message: a paragraph, a semibold heading, an item with its marker, a quote with its
// bar, or a code panel that scrolls sideways. Kept links open in the default browser.
Item {
    id: block
    required property string kind
    required property string html
    required property string plainText
    required property string marker
    property color textColor: NotchStyle.excerptText
    property real fontSize: 13
    // Extra space between the lines of a block.
    property real lineSpacing: 0
    readonly property color linkTint: NotchStyle.linkPink

    FontMetrics {
        id: metrics
        font.pixelSize: block.fontSize
    }
    readonly property real lineHeight: metrics.height + lineSpacing

    // Only the block's own form is built (a long message has many blocks): each form is the delegate of a
    // repeater of one row or none.
    implicitHeight: childrenRect.height

    // Paragraph, heading and item.
    Repeater {
        model: block.kind !== "code" && block.kind !== "quote" ? 1 : 0
        delegate: Row {
            id: prose
            width: block.width
            spacing: block.kind === "item" ? 8 : 0
            Text {
                id: markerText
                visible: block.kind === "item"
                text: block.marker
                textFormat: Text.PlainText
                color: block.textColor
                font.pixelSize: block.fontSize
            }
            Text {
                width: block.width - (markerText.visible ? markerText.width + prose.spacing : 0)
                text: block.html
                textFormat: Text.RichText
                wrapMode: Text.Wrap
                color: block.textColor
                linkColor: block.linkTint
                font.pixelSize: block.fontSize
                font.weight: block.kind === "heading" ? Font.DemiBold : Font.Normal
                lineHeightMode: Text.FixedHeight
                lineHeight: block.lineHeight
                onLinkActivated: link => Qt.openUrlExternally(link)
                HoverHandler {
                    cursorShape: parent.hoveredLink.length > 0 ? Qt.PointingHandCursor : Qt.ArrowCursor
                }
            }
        }
    }

    // Quote: a faint bar exactly as tall as the dimmed text beside it.
    Repeater {
        model: block.kind === "quote" ? 1 : 0
        delegate: Row {
            id: quote
            objectName: "quoteRow"
            width: block.width
            spacing: 10
            Rectangle {
                objectName: "quoteBar"
                width: 2
                height: quoteText.height
                color: NotchStyle.quoteBar
            }
            Text {
                id: quoteText
                width: block.width - 12
                text: block.html
                textFormat: Text.RichText
                wrapMode: Text.Wrap
                color: block.textColor
                opacity: 0.6
                lineHeightMode: Text.FixedHeight
                lineHeight: block.lineHeight
                linkColor: block.linkTint
                font.pixelSize: block.fontSize
                onLinkActivated: link => Qt.openUrlExternally(link)
            }
        }
    }

    // Code: monospaced, unwrapped, scrolling sideways on a faint panel.
    Repeater {
        model: block.kind === "code" ? 1 : 0
        delegate: Rectangle {
            id: code
            objectName: "codePanel"
            width: block.width
            height: codeText.height + 16 + (scroller.contentWidth > scroller.width ? 6 : 0)
            radius: NotchStyle.codeRadius
            color: NotchStyle.codeFill
            Flickable {
                id: scroller
                objectName: "codeScroller"
                x: 8
                y: 8
                width: parent.width - 16
                height: parent.height - 8
                contentWidth: codeText.width
                contentHeight: codeText.height
                flickableDirection: Flickable.HorizontalFlick
                boundsBehavior: Flickable.StopAtBounds
                clip: true
                Q.ScrollBar.horizontal: Q.ScrollBar {
                    policy: scroller.contentWidth > scroller.width ? Q.ScrollBar.AlwaysOn : Q.ScrollBar.AlwaysOff
                }
                Text {
                    id: codeText
                    text: block.plainText
                    textFormat: Text.PlainText
                    wrapMode: Text.NoWrap
                    color: block.textColor
                    font.family: "monospace"
                    font.pixelSize: block.fontSize - 1
                }
            }
        }
    }
}
