#include "cli/Interruption.h"

#include <limits.h>
#include <unistd.h>

#include <csignal>
#include <cstring>

namespace Cli {

namespace {

// Fixed storage, read by the handler with nothing but unlink: no allocation, no locks.
constexpr int SlotCount = 8;
char Paths[SlotCount][PATH_MAX];
volatile std::sig_atomic_t InUse[SlotCount];

void RemoveAndEnd(int signal) {
  for (int i = 0; i < SlotCount; ++i)
    if (InUse[i]) ::unlink(Paths[i]);
  // SA_RESETHAND has put back the default action: the signal, raised again, ends the
  // program once this handler returns, with the status a shell reports for it.
  ::raise(signal);
}

}  // namespace

void RemoveTemporariesWhenStopped() {
  struct sigaction action {};
  action.sa_handler = RemoveAndEnd;
  action.sa_flags = SA_RESETHAND;
  sigemptyset(&action.sa_mask);
  for (const int stop : {SIGINT, SIGTERM, SIGHUP}) sigaddset(&action.sa_mask, stop);
  for (const int stop : {SIGINT, SIGTERM, SIGHUP}) ::sigaction(stop, &action, nullptr);
}

int NoteTemporary(const std::string& path) {
  if (path.size() >= PATH_MAX) return -1;
  for (int i = 0; i < SlotCount; ++i)
    if (!InUse[i]) {
      std::memcpy(Paths[i], path.c_str(), path.size() + 1);
      InUse[i] = 1;  // only now may the handler read the path
      return i;
    }
  return -1;
}

void ForgetTemporary(int slot) {
  if (slot >= 0 && slot < SlotCount) InUse[slot] = 0;
}

}  // namespace Cli
