#pragma once
// The program ends only through an explicit request (the tutor window is not the main
// window). Loops that wait by processing events (the report preview) watch this flag.

namespace hw {

// Marks the application as terminating and asks the event loop to quit.
void requestTerminate();
bool terminateRequested();
// Tests only: forget an earlier request.
void resetTerminateRequest();

} // namespace hw
