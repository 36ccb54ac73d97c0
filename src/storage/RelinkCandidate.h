#pragma once

#include "storage/Document.h"
#include <QStringList>

// A document whose file is missing and the files of its name found under the folder searched: one
// is a proposal, several are ambiguous (listed, never guessed), none leaves it as it is.
struct RelinkCandidate
{
    Document document;
    QStringList found;
};
