// The remembered target address: the program's one persisted setting, kept per
// user in the settings of kStoreOrganisation's kStoreApplication.
#pragma once

#include <WindowLogic.h>

#include <QString>

namespace relaytool {

// Reads the stored text into `address` ("" when nothing is stored); fails
// with ValueFailed when the stored value is not text.
StoreAccess ReadTargetAddress(QString &address);

// Stores `address` as text; fails with ValueFailed when it could not be
// written.
StoreAccess WriteTargetAddress(const QString &address);

}  // namespace relaytool
