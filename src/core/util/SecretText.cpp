#include "util/SecretText.h"

#include <algorithm>
#include <utility>

#include "util/SecretMemory.h"

namespace lockvale {

SecretText::SecretText(std::string_view text) : m_Size(text.size()) {
  if (m_Size == 0) return;
  m_Data = static_cast<char*>(AllocateSecretPages(m_Size));
  std::copy(text.begin(), text.end(), m_Data);
}

SecretText::~SecretText() {
  Release();
}

SecretText::SecretText(SecretText&& other) noexcept
    : m_Data(std::exchange(other.m_Data, nullptr)), m_Size(std::exchange(other.m_Size, 0)) {}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
  if (this != &other) {
    Release();
    m_Data = std::exchange(other.m_Data, nullptr);
    m_Size = std::exchange(other.m_Size, 0);
  }
  return *this;
}

void SecretText::Release() noexcept {
  if (m_Data) FreeSecretPages(m_Data, m_Size);
}

}  // namespace lockvale
