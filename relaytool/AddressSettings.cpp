#include "AddressSettings.h"

#include <QSettings>
#include <QVariant>

namespace relaytool {
namespace {

const QString kValueName = QStringLiteral("Target Address");

QSettings UserSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Fenmoor"),
                   QStringLiteral("Vantor Config Util"));
}

}  // namespace

StoredAddress ReadTargetAddress() {
  const QVariant value = UserSettings().value(kValueName);
  if (!value.isValid()) return {};
  if (value.typeId() != QMetaType::QString)
    return {{}, QStringLiteral("Invalid data type for '%1'").arg(kValueName)};
  // The text ends at its first zero character.
  return {value.toString().section(QChar(0), 0, 0), std::nullopt};
}

std::optional<QString> WriteTargetAddress(const QString &address) {
  QSettings settings = UserSettings();
  settings.setValue(kValueName, address);
  settings.sync();
  if (settings.status() != QSettings::NoError)
    return QStringLiteral("Failed to set data for '%1'").arg(kValueName);
  return std::nullopt;
}

}  // namespace relaytool
