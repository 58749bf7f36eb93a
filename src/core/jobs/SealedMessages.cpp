#include "jobs/SealedMessages.h"

namespace lockvale {

std::string SealedRefusalText(const SealedResult& result) {
  switch (result.status) {
    case SealedStatus::NewerVersion:
      return "This file was made by a newer Lockvale.";
    case SealedStatus::UnacceptedSettings:
      return "This file asks for key-derivation settings Lockvale does not accept.";
    case SealedStatus::WrongKeyOrHeader:
      return "Wrong key, or the file's header is damaged.";
    case SealedStatus::Damaged:
      return "The file is damaged or was changed at byte " + std::to_string(result.damagedAt) + ".";
    case SealedStatus::Ok:
    case SealedStatus::NotSealed:
    case SealedStatus::Cancelled:
      break;
  }
  return {};
}

}  // namespace lockvale
