#pragma once

#include <QPalette>
#include <QtGlobal>

// System colours by index, read from a widget's palette.
class SystemColors
{
public:
    explicit SystemColors(const QPalette &palette);

    quint32 Of(quint32 index) const;
    // A system colour becomes its current value; a plain colour stays.
    quint32 Resolve(quint32 colour) const;

private:
    QPalette m_palette;
};
