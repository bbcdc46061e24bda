#include "QtTextMeasurer.h"

#include <QFontDatabase>
#include <QFontMetricsF>
#include <QStringView>
#include <QTextLayout>

QtTextMeasurer::QtTextMeasurer()
    : QtTextMeasurer(QFontDatabase::systemFont(QFontDatabase::GeneralFont))
{
}

QtTextMeasurer::QtTextMeasurer(const QFont &systemFont)
    : m_body(systemFont), m_subject(systemFont)
{
    m_body.setPixelSize(int(bodyPixelSize));
    m_subject.setPixelSize(int(subjectPixelSize));
    m_subject.setWeight(QFont::DemiBold);
}

double QtTextMeasurer::bodyLineWidth(const QString &line) const
{
    return QFontMetricsF(m_body).horizontalAdvance(line);
}

double QtTextMeasurer::bodyHeight(const QString &text, double width) const
{
    return wrappedHeight(text, m_body, width, bodyLineSpacing);
}

double QtTextMeasurer::subjectHeight(const QString &subject, double width) const
{
    return wrappedHeight(subject, m_subject, width, 0);
}

double QtTextMeasurer::wrappedHeight(const QString &text, const QFont &font, double width, double lineSpacing)
{
    if (text.isEmpty())
        return 0;
    QList<QStringView> paragraphs = QStringView(text).split(QLatin1Char('\n'));
    if (paragraphs.size() > 1 && paragraphs.constLast().isEmpty())
        paragraphs.removeLast();

    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    double height = 0;
    int lines = 0;
    for (const QStringView paragraph : paragraphs) {
        QTextLayout layout(paragraph.toString(), font);
        layout.setTextOption(option);
        layout.beginLayout();
        for (QTextLine line = layout.createLine(); line.isValid(); line = layout.createLine()) {
            line.setLeadingIncluded(true);
            line.setLineWidth(width);
            height += line.height();
            ++lines;
        }
        layout.endLayout();
    }
    return height + lineSpacing * std::max(0, lines - 1);
}
