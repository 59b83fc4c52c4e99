// The pixel code's calls into the backend in use.
#include "platform/backend/backend_hooks.h"

#include "platform/backend/backend_interface.h"

namespace platform::detail {

const headless::Faults* ActiveFaults() { return CurrentBackend().ActiveFaults(); }
void OnPaletteLoad() { CurrentBackend().PaletteLoaded(); }
void OnFlip() { CurrentBackend().OnFlip(); }

}  // namespace platform::detail
