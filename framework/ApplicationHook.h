// The non-GUI core's door to the application's message loop. Long work on
// the GUI thread (encoding) calls ProcessApplicationMessages after each step;
// the GUI application installs the real message pump, and until one is
// installed (tests, tools) the call does nothing.
#pragma once

#include <functional>

void SetProcessMessagesHook(std::function<void()> hook);
void ProcessApplicationMessages();
