#pragma once

#include <QString>

class CodeKeyring;
class Troot;

// What is remembered between runs and where: the settings file (none: nothing is remembered)
// and the keyring for a security code the user asks to keep (none: the box is off).
struct Remembering
{
    QString settingsFile;
    CodeKeyring *keyring = nullptr;
};

// Start-up after the application object: the session (taken over as `root`), the main window
// with the folder its downloads go to, then the dialogs, in that order; none of the dialogs is
// shown. What was remembered is restored before the main window shows.
void createGlobalInstances(Troot *session, const QString &documentsFolder,
                           const Remembering &remembering = {});

// Memory for a run of many hours: a block of 1 MiB or more is mapped on its own and goes back to
// the system when it is freed. glibc otherwise raises that limit whenever such a block is freed,
// and each minute's large temporaries (the live answer, its parsed document, the log's text) then
// come from the heap, between the matches' lasting events, which keep the heap from ever
// shrinking again. A smaller limit maps more blocks, which costs time; this one showed no cost.
void settleAllocatorForLongRuns();

// The whole run: the application object, the instances, the event loop. An error escaping
// start-up is shown in the standard error box, and the program ends.
int runApplication(int argc, char **argv);
