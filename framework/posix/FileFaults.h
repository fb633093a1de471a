#pragma once
// A test seam in the native file layer: makes one chosen CFile operation fail the way a
// failing disk, a full disk or a busy file would. Idle unless a test arms it.

#include <cstddef>
#include <string>

namespace FileFaults {

enum class Operation { Open, Length, Read, Seek, Write, Flush, Close };

// The next call of operation fails. A Read or Write first moves bytesFirst bytes for real,
// so a read comes back short and a write stops half-way.
void Arm(Operation operation, std::size_t bytesFirst = 0);
void Disarm();

// Opening the file at path for writing fails as for a read-only file, until AllowWriting.
// Unlike a file mode, this holds for root too.
void DenyWriting(const std::string& path);
void AllowWriting(const std::string& path);

// For CFile: whether this call must fail (disarming the fault); bytesFirst, when given,
// receives how many bytes to move before failing.
bool Trip(Operation operation, std::size_t* bytesFirst = nullptr);
bool WritingDenied(const char* path);

}  // namespace FileFaults
