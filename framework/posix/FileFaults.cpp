#include "framework/posix/FileFaults.h"

#include <optional>
#include <set>

namespace FileFaults {
namespace {
struct Fault {
  Operation Target;
  std::size_t BytesFirst;
};
std::optional<Fault> Armed;
std::set<std::string> ReadOnly;
}  // namespace

void DenyWriting(const std::string& path) { ReadOnly.insert(path); }
void AllowWriting(const std::string& path) { ReadOnly.erase(path); }
bool WritingDenied(const char* path) { return !ReadOnly.empty() && ReadOnly.count(path) > 0; }

void Arm(Operation operation, std::size_t bytesFirst) { Armed = Fault{operation, bytesFirst}; }
void Disarm() { Armed.reset(); }

bool Trip(Operation operation, std::size_t* bytesFirst) {
  if (!Armed || Armed->Target != operation) return false;
  if (bytesFirst) *bytesFirst = Armed->BytesFirst;
  Armed.reset();
  return true;
}

}  // namespace FileFaults
