#include "util/SecretText.h"

#include <algorithm>
#include <utility>

#include "util/SecureWipe.h"

namespace lockvale {

SecretText::SecretText(std::string_view text)
    : m_Data(std::make_unique<char[]>(text.size())), m_Size(text.size()) {
  std::copy(text.begin(), text.end(), m_Data.get());
}

SecretText::~SecretText() {
  Wipe();
}

SecretText::SecretText(SecretText&& other) noexcept
    : m_Data(std::move(other.m_Data)), m_Size(std::exchange(other.m_Size, 0)) {}

SecretText& SecretText::operator=(SecretText&& other) noexcept {
  if (this != &other) {
    Wipe();
    m_Data = std::move(other.m_Data);
    m_Size = std::exchange(other.m_Size, 0);
  }
  return *this;
}

void SecretText::Wipe() noexcept {
  if (m_Data) SecureWipe(m_Data.get(), m_Size);
}

}  // namespace lockvale
