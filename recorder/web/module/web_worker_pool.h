// The web view's worker threads run at a lower priority than the recording they serve.
#pragma once

namespace recorder::web::module {

// Answering runs at a lower priority than the recording: on a busy machine the clients wait,
// not the recorder. Applies to the calling thread.
void yieldToTheRecorder();

}  // namespace recorder::web::module
