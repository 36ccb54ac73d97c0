#pragma once

#include <QString>
#include <QStringList>

class ScriptedUi;

// Peak resident memory (VmHWM), each state measured in a child process of its own so that no
// earlier work of the driver inflates it.
class PeakMemory
{
public:
    // What a child brings the program to before it reads its peak.
    static constexpr const char* kSplash = "splash"; // the splash shown, nothing opened
    static constexpr const char* kMain = "main"; // Continue: the main window over the catalogue
    static constexpr const char* kLargest = "largest"; // and then the given category listed
    static constexpr const char* kReport = "report"; // and then the report of that list written
    static constexpr const char* kMasterList = "masterlist"; // the main window, then the master list written

    // This process's peak so far, in kibibytes; -1 when the system does not tell.
    static long SelfKiB();

    // Starts this driver again as a child in the given state and returns the child's peak in
    // kibibytes (median of runs), or -1; with before, also that run's peak before its last step
    // (the report, the master list), so that what the step itself added can be told.
    static long Child(const QString& state, const QString& folder, const QString& category, int runs,
                      long* before = nullptr);

    // The child's side: brings the program to the state, prints "VmHWM <KiB> <KiB before the last
    // step>", returns the exit code.
    static int RunChild(const QStringList& arguments, ScriptedUi& ui);
};
