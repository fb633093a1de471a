#pragma once
// tavero-cli's standard output: written to the descriptor in blocks, remembering why the
// first write failed (a full disk, a closed pipe), so that the program can say so and fail
// rather than end as if all had been written.

#include <array>
#include <iosfwd>
#include <streambuf>
#include <string>

namespace Cli {

class DescriptorBuffer : public std::streambuf {
 public:
  explicit DescriptorBuffer(int descriptor);
  DescriptorBuffer(const DescriptorBuffer&) = delete;
  DescriptorBuffer& operator=(const DescriptorBuffer&) = delete;
  ~DescriptorBuffer() override;  // writes what is left, ignoring errors

  // The errno of the first write that failed; 0 while none has. Every write after it fails.
  int Error() const { return FirstError; }

 protected:
  int_type overflow(int_type c) override;
  int sync() override;

 private:
  bool Drain();  // writes the buffered bytes; false once any write has failed

  int Descriptor;
  int FirstError = 0;
  std::array<char, 1 << 16> Block;
};

// Why the stream out could not be written: the system's words when its buffer is a
// DescriptorBuffer that knows, or a general phrase.
std::string WhyNotWritten(std::ostream& out);

}  // namespace Cli
