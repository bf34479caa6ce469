// Text as Jet 4 stores it: UTF-16LE, or the compressed form that starts with FF FE.
#pragma once

#include <string>

#include "services/jet/byte_view.h"

namespace lumora::jet {

// Decodes a stored text value. In the compressed form a 0x00 byte switches between one byte
// per character (high byte zero, the starting mode) and two bytes per character.
std::u16string DecodeJetText(ByteView bytes);

}  // namespace lumora::jet
