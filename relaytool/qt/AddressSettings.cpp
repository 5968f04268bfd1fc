#include "AddressSettings.h"

#include <QFile>
#include <QSettings>
#include <QUrl>
#include <QVariant>

namespace relaytool {
namespace {

const QString kValueName = QString::fromLatin1(kTargetAddressValue);

QSettings UserSettings() {
  return QSettings(QSettings::NativeFormat, QSettings::UserScope, QString::fromLatin1(kStoreOrganisation),
                   QString::fromLatin1(kStoreApplication));
}

// The value's text as it stands in the settings file. A hand edit may leave a
// text with bare commas, which the settings layer reads as a list.
QString TextInFile(const QString &fileName) {
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) return {};
  bool general = true;
  while (!file.atEnd()) {
    const QString line = QString::fromUtf8(file.readLine()).trimmed();
    if (line.startsWith(QLatin1Char('['))) {
      general = line == QLatin1String("[General]");
    } else if (general) {
      const QString key = QUrl::fromPercentEncoding(line.section(QLatin1Char('='), 0, 0).trimmed().toUtf8());
      if (key == kValueName) return line.section(QLatin1Char('='), 1).trimmed();
    }
  }
  return {};
}

}  // namespace

StoreAccess ReadTargetAddress(QString &address) {
  const QSettings settings = UserSettings();
  const QVariant value = settings.value(kValueName);
  if (!value.isValid()) {
    address.clear();
  } else if (value.typeId() == QMetaType::QStringList) {
    address = TextInFile(settings.fileName());
  } else if (value.typeId() != QMetaType::QString) {
    return StoreAccess::ValueFailed;
  } else {
    // The text ends at its first zero character.
    address = value.toString().section(QChar(0), 0, 0);
  }
  return StoreAccess::Done;
}

StoreAccess WriteTargetAddress(const QString &address) {
  QSettings settings = UserSettings();
  settings.setValue(kValueName, address);
  settings.sync();
  return settings.status() == QSettings::NoError ? StoreAccess::Done : StoreAccess::ValueFailed;
}

}  // namespace relaytool
