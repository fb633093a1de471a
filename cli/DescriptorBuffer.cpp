#include "cli/DescriptorBuffer.h"

#include <cerrno>
#include <cstring>
#include <ostream>
#include <string>

#ifdef _WIN32
#include <io.h>
#else
#include <unistd.h>
#endif

namespace Cli {

namespace {

// As much of the block as the system took; -1 on an error. Windows' CRT takes an unsigned
// count and keeps the descriptor's text mode (line ends as CR LF), as the C streams do.
long WriteSome(int descriptor, const char* bytes, std::size_t count) {
#ifdef _WIN32
  return ::_write(descriptor, bytes, static_cast<unsigned>(count));
#else
  return static_cast<long>(::write(descriptor, bytes, count));
#endif
}

}  // namespace

DescriptorBuffer::DescriptorBuffer(int descriptor) : Descriptor(descriptor) {
  setp(Block.data(), Block.data() + Block.size());
}

DescriptorBuffer::~DescriptorBuffer() { Drain(); }

bool DescriptorBuffer::Drain() {
  const char* from = pbase();
  while (FirstError == 0 && from < pptr()) {
    const long put = WriteSome(Descriptor, from, static_cast<std::size_t>(pptr() - from));
    if (put < 0 && errno == EINTR) continue;
    if (put <= 0) FirstError = put < 0 ? errno : EIO;
    if (put > 0) from += put;
  }
  setp(Block.data(), Block.data() + Block.size());
  return FirstError == 0;
}

DescriptorBuffer::int_type DescriptorBuffer::overflow(int_type c) {
  if (!Drain()) return traits_type::eof();
  if (traits_type::eq_int_type(c, traits_type::eof())) return traits_type::not_eof(c);
  *pptr() = traits_type::to_char_type(c);
  pbump(1);
  return c;
}

int DescriptorBuffer::sync() { return Drain() ? 0 : -1; }

std::string WhyNotWritten(std::ostream& out) {
  const auto* buffer = dynamic_cast<const DescriptorBuffer*>(out.rdbuf());
  if (buffer && buffer->Error() != 0) return std::strerror(buffer->Error());
  return "the stream took no more";
}

}  // namespace Cli
