// Starting the headless backend and the handles tests use to drive and read it.
// With another backend in use the controls do nothing and the log reads empty.
#include <memory>

#include "platform/backend/backend_hooks.h"
#include "platform/headless/headless_backend.h"

namespace platform::headless {

namespace {

HeadlessBackend* Active() { return detail::CurrentBackendAs<HeadlessBackend>(); }

}  // namespace

void UseHeadlessBackend(const Options& options) {
  detail::InstallBackend(std::make_unique<HeadlessBackend>(options));
}

const Log& GetLog() {
  static const Log kEmpty;
  HeadlessBackend* backend = Active();
  return backend != nullptr ? backend->GetLog() : kEmpty;
}

void ClearLog() {
  if (HeadlessBackend* backend = Active()) backend->MutableLog() = Log{};
}

void PressKey(int virtualKey) {
  if (HeadlessBackend* backend = Active()) backend->Keys().Press(virtualKey);
}

void ReleaseKey(int virtualKey) {
  if (HeadlessBackend* backend = Active()) backend->Keys().Release(virtualKey);
}

void ReleaseAllKeys() {
  if (HeadlessBackend* backend = Active()) backend->Keys().Clear();
}

void AddSteps(const std::vector<Step>& steps) {
  if (HeadlessBackend* backend = Active()) backend->Script().Append(steps);
}

bool ScriptFinished() {
  HeadlessBackend* backend = Active();
  return backend == nullptr || backend->Script().Finished();
}

std::optional<int> StalledScriptLine() { return detail::CurrentBackend().StalledScriptLine(); }

uint32_t Now() {
  HeadlessBackend* backend = Active();
  return backend != nullptr ? backend->Now() : 0;
}

void AdvanceClock(uint32_t milliseconds) {
  if (HeadlessBackend* backend = Active()) backend->AdvanceClock(milliseconds);
}

void LoseSurfaces() { detail::MarkAllSurfacesLost(); }

}  // namespace platform::headless
