#pragma once

// The window's menu item of a conversion, found by the object name its row in
// conversionFormats() gives.
#include "convert/conversions.h"

#include <QAction>
#include <QObject>

inline QAction* menuItemOf(const QObject& form, const ConversionFormat& format) {
    return form.findChild<QAction*>(QLatin1String(format.menuItem));
}

// By the conversion's command-line name ("kml2d"); nullptr for none.
inline QAction* menuItemOf(const QObject& form, const QString& name) {
    const ConversionFormat* format = conversionFormatNamed(name);
    return format ? menuItemOf(form, *format) : nullptr;
}
