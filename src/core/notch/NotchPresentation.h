#pragma once

#include <QMetaType>
#include <QSizeF>

// What the notch surface shows and how big it is. Compared field by field.
struct NotchPresentation
{
    Q_GADGET
    Q_PROPERTY(Phase phase MEMBER phase)
    Q_PROPERTY(QSizeF size MEMBER size)

public:
    enum class Phase { collapsed, list, reader, preview };
    Q_ENUM(Phase)

    Phase phase = Phase::collapsed;
    QSizeF size;

    friend bool operator==(const NotchPresentation &, const NotchPresentation &) = default;
};

Q_DECLARE_METATYPE(NotchPresentation)
