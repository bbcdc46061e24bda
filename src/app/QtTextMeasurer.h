#pragma once

#include "notch/TextMeasurer.h"

#include <QFont>

// Text measurement with Qt's text layout: the body in the system font at 13 pixels with 5 pixels between
// lines, the subject in the system font at 18 pixels, semibold. Wrapping breaks at word boundaries (inside
// a word only when it is wider than the line); each line takes the font's height including its leading.
class QtTextMeasurer final : public TextMeasurer
{
public:
    // Needs a QGuiApplication.
    QtTextMeasurer();
    explicit QtTextMeasurer(const QFont &systemFont);

    double bodyLineWidth(const QString &line) const override;
    double bodyHeight(const QString &text, double width) const override;
    double subjectHeight(const QString &subject, double width) const override;

    const QFont &bodyFont() const { return m_body; }
    const QFont &subjectFont() const { return m_subject; }

    // Height of `text` wrapped at `width`: one layout per line-feed-separated paragraph (a final line feed
    // adds no line), `lineSpacing` between consecutive lines.
    static double wrappedHeight(const QString &text, const QFont &font, double width, double lineSpacing);

private:
    QFont m_body;
    QFont m_subject;
};
