#pragma once

#include "notch/TextMeasurer.h"

#include <QStringList>

#include <cmath>

// Monospaced stand-in for the platform's text layout: body characters are 7 points wide and body
// lines 18 high; subject characters 10 wide and subject lines 24 high. Each line-feed-separated
// paragraph takes at least one line; a final line feed adds none. Remembers what it was asked to measure.
class FakeTextMeasurer final : public TextMeasurer
{
public:
    static constexpr double bodyCharacterWidth = 7;
    static constexpr double bodyLineHeight = 18;
    static constexpr double subjectCharacterWidth = 10;
    static constexpr double subjectLineHeight = 24;

    double bodyLineWidth(const QString &line) const override
    {
        measuredLines.append(line);
        return double(line.size()) * bodyCharacterWidth;
    }
    double bodyHeight(const QString &text, double width) const override
    {
        measuredBodies.append(text);
        return lines(text, width, bodyCharacterWidth) * bodyLineHeight;
    }
    double subjectHeight(const QString &subject, double width) const override
    {
        return lines(subject, width, subjectCharacterWidth) * subjectLineHeight;
    }

    mutable QStringList measuredLines;
    mutable QStringList measuredBodies;

private:
    static double lines(const QString &text, double width, double characterWidth)
    {
        const double perLine = std::floor(width / characterWidth);
        QStringList paragraphs = text.split(QLatin1Char('\n'));
        if (paragraphs.size() > 1 && paragraphs.last().isEmpty())
            paragraphs.removeLast();
        double count = 0;
        for (const QString &paragraph : paragraphs)
            count += paragraph.isEmpty() ? 1 : std::ceil(double(paragraph.size()) / perLine);
        return count;
    }
};
