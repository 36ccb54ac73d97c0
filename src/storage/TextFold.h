#pragma once

#include <QString>

// A text as searching compares it: lower case, accents dropped ("Qualitätsprüfung" and
// "qualitatsprufung" are one).
QString Folded(const QString& text);

// 8-bit text in Windows-1252, the code page of older tools and spreadsheets.
QString FromWindows1252(const char* bytes, int size);
