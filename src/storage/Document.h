#pragma once

#include "storage/DocumentControl.h"
#include <QString>

// One document record of the catalogue.
struct Document
{
    QString key;
    QString ref;
    QString title;
    QString clauses; // the comma-separated clause list; empty when the record has none
    QString path;
    QString category; // the category's name, where a listing reads it
    // The control columns the lists show.
    QString revision;
    DocumentControl::Status status = DocumentControl::Status::Approved;
    QDate nextReview;
    QString problem; // what the file check found wrong with its file
    // The control columns of the full register (AllDocuments); left as they are by the other lists.
    DocumentControl::Kind kind = DocumentControl::Kind::Document;
    QString owner;
    QString approvedBy;
    QDate approvedOn;
};
