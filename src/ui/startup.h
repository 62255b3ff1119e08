#pragma once

class QString;
class Troot;

// Start-up after the application object: the session (taken over as `root`), the main window
// with the folder its downloads go to, then the dialogs, in that order; none of the dialogs is
// shown.
void createGlobalInstances(Troot *session, const QString &documentsFolder);

// The whole run: the application object, the instances, the event loop. An error escaping
// start-up is shown in the standard error box, and the program ends.
int runApplication(int argc, char **argv);
