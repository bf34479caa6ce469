// ReadEchoAnswer must take any bytes a socket hands over without reading beyond them, and what it
// reads as a reply must carry the fields of the message it came from.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <span>

#include "platform/icmp_message.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::span<const std::uint8_t> message(data, size);
  const auto answer = lumora::platform::ReadEchoAnswer(message);
  if (answer && answer->reply && size >= 8 && data[0] == 0) {
    // A bare reply: its fields are its own bytes 4 to 7.
    if (answer->identifier != (data[4] << 8 | data[5]) ||
        answer->sequence != (data[6] << 8 | data[7]) || answer->host.has_value()) {
      std::abort();
    }
  }
  return 0;
}
