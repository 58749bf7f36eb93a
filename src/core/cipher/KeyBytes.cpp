#include "cipher/KeyBytes.h"

#include <algorithm>
#include <new>

#include "util/SecretMemory.h"

namespace lockvale {

KeyBytes::KeyBytes(std::string_view keyText)
    : m_Bytes(new (AllocateSecretPages(Size)) std::array<std::uint8_t, Size>{}) {
  std::copy_n(keyText.begin(), std::min(keyText.size(), Size), m_Bytes->begin());
}

KeyBytes::~KeyBytes() {
  FreeSecretPages(m_Bytes, Size);
}

}  // namespace lockvale
