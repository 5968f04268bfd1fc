// The remembered target address: the program's one persisted setting, kept per
// user under organisation "Fenmoor" and application "Vantor Config Util".
#pragma once

#include <QString>

#include <optional>

namespace relaytool {

// What the start-up read found.
struct StoredAddress {
  QString address;  // empty when nothing (or an empty text) is stored
  std::optional<QString> failure;  // set when the stored value is not text
};

StoredAddress ReadTargetAddress();

// Stores `address` as text; answers the failure message when it could not be
// written.
std::optional<QString> WriteTargetAddress(const QString &address);

}  // namespace relaytool
