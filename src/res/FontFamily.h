#pragma once
// The installed family that stands in for a Windows font name: "Arial",
// "MS Sans Serif" and "MS Shell Dlg" (and no name at all) become the
// metric-compatible "Liberation Sans"; any other name is taken as it is.

#include <QString>

QString resolveFontFamily(const char* name);
