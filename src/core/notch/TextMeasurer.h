#pragma once

#include <QString>

// Text measurement for the reader-size estimate. The application implements it with the
// platform's text layout; the core only asks these three questions. Results are points.
class TextMeasurer
{
public:
    // The body font: the system font at this pixel size, with this extra spacing between lines.
    static constexpr double bodyPixelSize = 13;
    static constexpr double bodyLineSpacing = 5;
    // The subject font: the system font at this pixel size, semibold.
    static constexpr double subjectPixelSize = 18;

    virtual ~TextMeasurer() = default;

    // Width of `line` laid out on one line, without wrapping, in the body font.
    virtual double bodyLineWidth(const QString &line) const = 0;
    // Height of `text` wrapped at `width` in the body font with the body line spacing
    // (line-fragment layout using the font's leading, unlimited height).
    virtual double bodyHeight(const QString &text, double width) const = 0;
    // Height of `subject` wrapped at `width` in the subject font.
    virtual double subjectHeight(const QString &subject, double width) const = 0;
};
