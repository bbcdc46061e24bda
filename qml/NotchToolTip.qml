import QtQuick

// A tooltip whose text is never read as markup (it may name a label or a subject), shown after its delay
// while `shown` holds, over the item it is declared in. The tooltip itself (NotchToolTipPopup) is made the
// first time it is asked for: an open card holds dozens of them, and few ever show. Once made it stays, so
// that it fades out as any tooltip does.
Item {
    id: tip
    property string text
    property bool shown: false
    property int delay: 600

    function make() {
        if (shown && popup.status === Loader.Null)
            popup.setSource(Qt.resolvedUrl("NotchToolTipPopup.qml"), { tip: tip })
    }
    onShownChanged: make()
    Component.onCompleted: make()

    Loader {
        id: popup
    }
}
