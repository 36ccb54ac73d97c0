#pragma once

#include <QIcon>
#include <QSize>
#include <QString>
#include <QStringList>

// The program's pictures, found by key as the toolbar and the trees name them. Drawn as SVG, so
// they stay sharp at any screen scale.

// Toolbar pictures, 32 by 32: "NEWCAT", "DELETECAT", "RENAMECAT", "SAVE", "EXIT", "MOVECAT", "OPEN",
// "ADD", "EDIT", "REMOVE".
// Makes the program's pictures (the toolbar's, the trees' and the window icon) available by name.
void RegisterPictures();

constexpr QSize kImageList1Size(32, 32);
QStringList ImageList1Keys();
QIcon ImageList1(const QString& key);

// Small pictures, 16 by 16: "DOCUMENT", "DOCUMENT2", "CATEGORY", "ISOREF".
constexpr QSize kImageList2Size(16, 16);
QStringList ImageList2Keys();
QIcon ImageList2(const QString& key);
