#pragma once
// Between the driver and the probe DLL it loads into the editor's process: a named mapping,
// one per editor process, that the probe fills with the editor window's icon answers.

#include <windows.h>

#include <cstdint>
#include <cwchar>

namespace Probe {

struct Answer {
  volatile LONG Done;  // 0 until the probe has asked; 1 answered; 2 no editor window found
  std::uint64_t DragIcon, BigIcon, SmallIcon;
};

inline void MappingName(wchar_t (&name)[64], DWORD processId) {
  std::swprintf(name, 64, L"Local\\tavero-e2e-probe-%lu", static_cast<unsigned long>(processId));
}

inline constexpr const wchar_t* DllName = L"tavero_e2e_probe.dll";

}  // namespace Probe
