import QtQuick
import TandrelNotch
import QtQuick.Shapes

// Rounds the corners of what lies under it by painting the four corner pieces outside a rounded rectangle
// in the colour behind: a web view draws in its own layer, which a clip or a mask cannot round cheaply.
Shape {
    id: corners
    property real radius: 10
    property color fill: NotchStyle.black

    ShapePath {
        strokeWidth: -1
        fillColor: corners.fill
        // Top left.
        startX: 0; startY: 0
        PathLine { x: corners.radius; y: 0 }
        PathArc { x: 0; y: corners.radius; radiusX: corners.radius; radiusY: corners.radius; direction: PathArc.Counterclockwise }
        PathLine { x: 0; y: 0 }
        // Top right.
        PathMove { x: corners.width; y: 0 }
        PathLine { x: corners.width; y: corners.radius }
        PathArc { x: corners.width - corners.radius; y: 0; radiusX: corners.radius; radiusY: corners.radius; direction: PathArc.Counterclockwise }
        PathLine { x: corners.width; y: 0 }
        // Bottom right.
        PathMove { x: corners.width; y: corners.height }
        PathLine { x: corners.width - corners.radius; y: corners.height }
        PathArc { x: corners.width; y: corners.height - corners.radius; radiusX: corners.radius; radiusY: corners.radius; direction: PathArc.Counterclockwise }
        PathLine { x: corners.width; y: corners.height }
        // Bottom left.
        PathMove { x: 0; y: corners.height }
        PathLine { x: 0; y: corners.height - corners.radius }
        PathArc { x: corners.radius; y: corners.height; radiusX: corners.radius; radiusY: corners.radius; direction: PathArc.Counterclockwise }
        PathLine { x: 0; y: corners.height }
    }
}
