import QtQuick
import TandrelNotch

// An HTML attachment under the message text: its sandboxed web view, 420 high with rounded corners, and a
// small button over its corner that saves the attached file.
Item {
    id: attachment
    objectName: "visualizationAttachment"
    required property Inbox inbox
    required property MessageBlockList content
    required property int attachmentIndex
    // The colour behind the attachment, which its rounded corners show.
    property color backdrop: NotchStyle.black

    implicitHeight: 420

    // The web view by its address, not its type: the engine behind it loads with the first attachment shown,
    // not with the panel, and off the main thread.
    Loader {
        anchors.fill: parent
        asynchronous: true
        Component.onCompleted: setSource(Qt.resolvedUrl("VisualizationWebView.qml"),
                                         { html: attachment.content.attachmentHtml(attachment.attachmentIndex) })
    }

    VisualizationCorners {
        anchors.fill: parent
        radius: NotchStyle.attachmentRadius
        fill: attachment.backdrop
    }

    SymbolButton {
        id: download
        objectName: "downloadButton"
        anchors.right: parent.right
        anchors.bottom: parent.bottom
        anchors.margins: 8
        width: 28
        height: 28
        symbol: "arrow.down.to.line"
        symbolSize: 11
        tint: NotchStyle.downloadTint
        help: qsTr("Download visualization")
        background: Rectangle {
            radius: NotchStyle.downloadRadius
            color: NotchStyle.downloadFill
        }
        onClicked: saver.save(attachment.inbox, attachment.content, attachment.attachmentIndex)
    }

    VisualizationSaver {
        id: saver
    }
}
