#include "framework/FileFaults.h"

#include <optional>

namespace FileFaults {
namespace {
struct Fault {
  Operation Target;
  std::size_t BytesFirst;
};
std::optional<Fault> Armed;
}  // namespace

void Arm(Operation operation, std::size_t bytesFirst) { Armed = Fault{operation, bytesFirst}; }
void Disarm() { Armed.reset(); }

bool Trip(Operation operation, std::size_t* bytesFirst) {
  if (!Armed || Armed->Target != operation) return false;
  if (bytesFirst) *bytesFirst = Armed->BytesFirst;
  Armed.reset();
  return true;
}

}  // namespace FileFaults
