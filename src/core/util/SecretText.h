#pragma once

#include <cstddef>
#include <string_view>

namespace lockvale {

// Text that may be a key, held in pages of its own (see AllocateSecretPages) and wiped when it
// goes.
class SecretText {
 public:
  SecretText() = default;
  explicit SecretText(std::string_view text);
  ~SecretText();
  SecretText(SecretText&& other) noexcept;
  SecretText& operator=(SecretText&& other) noexcept;

  std::string_view View() const { return {m_Data, m_Size}; }
  bool empty() const { return m_Size == 0; }

 private:
  void Release() noexcept;

  char* m_Data = nullptr;
  std::size_t m_Size = 0;
};

}  // namespace lockvale
