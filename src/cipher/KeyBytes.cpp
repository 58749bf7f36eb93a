#include "cipher/KeyBytes.h"

#include <algorithm>

#include "util/SecureWipe.h"

namespace lockvale {

KeyBytes::KeyBytes(std::string_view keyText) {
  std::copy_n(keyText.begin(), std::min(keyText.size(), Size), m_Bytes.begin());
}

KeyBytes::~KeyBytes() {
  SecureWipe(m_Bytes.data(), m_Bytes.size());
}

}  // namespace lockvale
