#pragma once

#include <QString>
#include <QStringList>
#include <random>

// Grows the open catalogue (gDB) to a given number of documents the way a large quality system
// looks: twenty categories, one of them ("Forms") holding half the documents, references such as
// QP-0123, titles made of quality words, paths under /srv/qms/documents and clause lists of one
// to four clauses of the clause tree. Everything goes in through the program's own statements,
// in one transaction; the same size always gives the same catalogue. A third of the documents
// carry control data, their next reviews spread over two years around the day of the run, so that
// a quarter of those are overdue.
class CatalogueFiller
{
public:
    struct Result
    {
        QString largestKey;
        QString largestName;
        int largestCount = 0;
        int documents = 0;
    };

    // With shuffled set, the records lie in the file in no order at all (the worst case).
    explicit CatalogueFiller(bool shuffled = false) : m_shuffled(shuffled) { }

    // Returns false when a statement failed (the program has already shown why).
    bool Fill(int documents, Result& result);

private:
    struct Category
    {
        QString key;
        QString name;
        QString prefix;
        int seeded = 0; // documents the fresh catalogue already files here
        int wanted = 0; // documents to add
        bool added = false; // a category the fresh catalogue does not have
    };

    bool ReadFreshCategories();
    bool AddCategories();
    void Share(int documents);
    bool AddDocuments();
    // Control data for about one document in three.
    bool AddControl(const QString& dockey, const QString& docref);
    QString Title();
    QString Clauses();
    static QString Slug(const QString& name);

    std::vector<Category> m_categories;
    bool m_shuffled;
    std::mt19937 m_random {20000915};
    // Its own sequence, so that the documents are the same as in a catalogue without control data.
    std::mt19937 m_controlRandom {20231001};
};
