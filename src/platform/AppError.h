#pragma once

#include <QString>
#include <stdexcept>

// A run-time failure with the description that the error trap shows to the user.
class AppError : public std::runtime_error
{
public:
    explicit AppError(const QString& description) : std::runtime_error(description.toStdString()) {}
    QString description() const { return QString::fromStdString(what()); }
};
