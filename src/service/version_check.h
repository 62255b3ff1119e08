#pragma once

#include "Engine/kstring.h"

// The program's version: major.minor.build (the release number is left out).
kstring versionText();
// "StrikoraKey " + versionText().
kstring titleText();
class Troot;

// Fetches the publisher's version document through `session` and shows its message when the
// announced build differs from ours. An unreachable publisher is ignored; other errors reach
// the caller.
void checkVersion(Troot &session);
