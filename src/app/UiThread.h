// The UI thread is the thread of the application object. Long synchronous
// work that runs there keeps the windows responsive by pumping events.
#pragma once

namespace pb {

// True when an application object exists and the caller runs on its thread.
bool onUiThread();

// Handles the pending events of the UI thread; does nothing elsewhere.
void pumpUiEvents();

} // namespace pb
