import QtQuick
import TandrelNotch

// One of the views' line symbols, tinted, drawn sharp at the screen's pixel ratio. `size` is the symbol's
// font size in points (the symbol fills a square of that side).
Image {
    id: symbol
    required property string name
    property color tint: NotchStyle.white
    property real size: 13

    width: size
    height: size
    sourceSize.width: Math.ceil(size * Screen.devicePixelRatio)
    sourceSize.height: Math.ceil(size * Screen.devicePixelRatio)
    source: "image://symbol/" + name + "/" + String(tint).substring(1)
    fillMode: Image.PreserveAspectFit
    // Drawn off the main thread, so that the first frame does not wait for the vector renderer.
    asynchronous: true
    smooth: true
    Accessible.ignored: true
}
