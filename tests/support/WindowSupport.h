#pragma once
#include <QStringList>

class Form2;

// What window tests add to the fixture of TestSupport.h. Linked in, it also
// makes every program folder close the loaded windows when it goes away.

// A board of `pairs` from `chosen`, dealt as the game window's first tick
// would, with its timers stopped so that only the test moves it on.
Form2& DealByHand(const QStringList& chosen, int pairs);
