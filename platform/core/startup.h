// Start-up hooks: work of the layers above the core that must be done before
// the first window is created, such as registering the standard control
// classes. The core runs them without knowing what they are.
#pragma once

namespace win::core {

// A hook runs before every CreateWindowExA, so it must be cheap and must do
// its work once (std::call_once). Hooks are usually added by a static
// initialiser of the layer that owns them.
using StartupHook = void (*)();
void AddStartupHook(StartupHook hook);
void RunStartupHooks();

}  // namespace win::core
