#pragma once

#include <QString>

// A category of the catalogue, as the tree lists it.
struct Category
{
    QString key;
    QString name;
};
