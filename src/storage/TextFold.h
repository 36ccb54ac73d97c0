#pragma once

#include <QString>

// A text as searching compares it: lower case, accents dropped ("Qualitätsprüfung" and
// "qualitatsprufung" are one).
QString Folded(const QString& text);
