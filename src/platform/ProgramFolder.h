#pragma once

#include <QString>

// Where the program finds its files. None has a trailing separator.
//
// The program folder is the executable's own folder. When it can be written and holds a catalogue (the staged
// build folder, a copy on a USB stick) the program is "portable": its data lives right there. Otherwise, as when
// installed under /usr, the program files are read-only and each user's data lives in the data folder
// $XDG_DATA_HOME/Cadrelle (~/.local/share/Cadrelle), filled on the first start from the installed copies.
QString ProgramFolder();
// Tests and tools point the program at another folder; the empty text restores the real one.
void SetProgramFolder(const QString& folder);

// The program folder is the data folder as well: it can be written and holds a catalogue. So is one that holds
// no catalogue when no installed copies are found to make a data folder from: the missing catalogue is told there.
bool IsPortable();
// The catalogue (cadrelle.db), documents/, temp/ and archive/: the program folder when portable, else the
// user's folder under $XDG_DATA_HOME.
QString DataFolder();
// The delivered read-only copies (cadrelle.db, documents/, help/): share/cadrelle beside the program's bin/
// folder when it holds a catalogue, as in an installed package (also one unpacked anywhere), else the program
// folder.
QString InstalledFolder();
// The help pages: the program folder's when portable, else the installed ones. Never copied per user, so a newer
// package's help is read at once.
QString HelpFolder();

// Makes the data folder ready to open. A portable program folder is used as it is. Otherwise the data folder is
// made when missing and, while it holds no catalogue, filled from the installed copies: the documents not there
// yet, then the catalogue, which is put in place last and whole, so a fill cut short runs again at the next
// start. A catalogue already there is the user's and is never replaced; the installed copies are only read.
// False with one sentence naming the folder in `problem` when the folder cannot be made, written or filled.
bool PrepareDataFolder(QString& problem);
