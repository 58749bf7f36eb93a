#pragma once

#include <cstddef>
#include <memory>
#include <string_view>

namespace lockvale {

// Text that may be a key, held in a buffer of its own and wiped when it goes.
class SecretText {
 public:
  SecretText() = default;
  explicit SecretText(std::string_view text);
  ~SecretText();
  SecretText(SecretText&& other) noexcept;
  SecretText& operator=(SecretText&& other) noexcept;

  std::string_view View() const { return {m_Data.get(), m_Size}; }
  bool empty() const { return m_Size == 0; }

 private:
  void Wipe() noexcept;

  std::unique_ptr<char[]> m_Data;
  std::size_t m_Size = 0;
};

}  // namespace lockvale
