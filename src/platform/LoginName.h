#pragma once

#include <QString>

// The name the user logged in with: who a change in the history is by, unless they type another.
QString LoginName();
