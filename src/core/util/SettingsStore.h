#pragma once

#include <optional>
#include <string>

namespace lockvale {

// The roots under which the program keeps values.
enum class RegistryRoot { ClassesRoot, CurrentUser, LocalMachine };

// A stored value: text, or raw bytes the program reads but never writes.
struct StoredValue {
  enum class Type { String, Binary } type = Type::String;
  std::string data;
};

// A tree of keys holding named values, addressed by a root, a key path whose parts are
// separated by "\" and a value name; an empty name is the key's default value. Every failure is
// silent: a value that cannot be read is absent, one that cannot be written is not written.
class SettingsStore {
 public:
  virtual ~SettingsStore() = default;
  virtual std::optional<StoredValue> Read(RegistryRoot root, const std::string& path,
                                          const std::string& name) = 0;
  virtual void Write(RegistryRoot root, const std::string& path, const std::string& name,
                     const std::string& text) = 0;
  virtual void DeleteValue(RegistryRoot root, const std::string& path, const std::string& name) = 0;
};

}  // namespace lockvale
