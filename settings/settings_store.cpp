#include "settings/settings_store.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace zarv::settings {

namespace {
// Marks a key that exists, even with no values. INI files drop empty groups.
const QString kKeyMarker = QStringLiteral(".key");
const QString kDwordPrefix = QStringLiteral("dword:");

// Key parts become group names: "/" and "\" must not split them, and names
// with any characters must survive the INI file.
QString EscapePart(const QString& part) { return QString::fromLatin1(QUrl::toPercentEncoding(part, " ")); }
QString UnescapePart(const QString& group) { return QUrl::fromPercentEncoding(group.toLatin1()); }
} // namespace

SettingsStore::SettingsStore(const QString& iniFile)
    : file_(iniFile), ini_(std::make_unique<QSettings>(iniFile, QSettings::IniFormat)) {
    ini_->setAtomicSyncRequired(true);
    ini_->setFallbacksEnabled(false);
}

QString SettingsStore::DefaultLocation() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    if (dir.isEmpty()) dir = QDir::homePath() + QStringLiteral("/.config");
    return dir + QStringLiteral("/Ombrel Card Games/Zarv.ini");
}

QString SettingsStore::GroupOf(const QString& key) {
    QStringList parts;
    for (const QString& part : key.split(QLatin1Char('\\'), Qt::SkipEmptyParts)) parts << EscapePart(part);
    return parts.join(QLatin1Char('/'));
}

bool SettingsStore::Sync() {
    ini_->sync();
    return ini_->status() == QSettings::NoError;
}

bool SettingsStore::Exists(const QString& key) const {
    const QString group = GroupOf(key);
    return ini_->contains(group + QLatin1Char('/') + kKeyMarker);
}

bool SettingsStore::CreateOrOpen(const QString& key, bool* created) {
    const bool existed = Exists(key);
    if (created) *created = !existed;
    if (existed) return true;
    // Every key on the path exists, as in the registry.
    QStringList parts = key.split(QLatin1Char('\\'), Qt::SkipEmptyParts);
    QString path;
    for (const QString& part : parts) {
        path += (path.isEmpty() ? QString() : QStringLiteral("\\")) + part;
        ini_->setValue(GroupOf(path) + QLatin1Char('/') + kKeyMarker, 1);
    }
    return Sync();
}

QString SettingsStore::ActualValueName(const QString& group, const QString& name) const {
    ini_->beginGroup(group);
    const QStringList names = ini_->childKeys();
    ini_->endGroup();
    for (const QString& n : names)
        if (n != kKeyMarker && n.compare(name, Qt::CaseInsensitive) == 0) return n;
    return {};
}

std::optional<uint32_t> SettingsStore::ReadDword(const QString& key, const QString& name) const {
    const QString group = GroupOf(key);
    const QString actual = ActualValueName(group, name);
    if (actual.isEmpty()) return std::nullopt;
    const QVariant v = ini_->value(group + QLatin1Char('/') + actual);
    if (v.typeId() != QMetaType::QString) return std::nullopt;  // a string value, not a number
    QString text = v.toString().trimmed();
    bool ok = false;
    if (!text.startsWith(kDwordPrefix, Qt::CaseInsensitive)) {
        // A number typed into the file by hand, in decimal, perhaps negative.
        const qlonglong n = text.toLongLong(&ok, 10);
        if (!ok || n < INT32_MIN || n > static_cast<qlonglong>(UINT32_MAX)) return std::nullopt;
        return static_cast<uint32_t>(n);
    }
    text = text.mid(kDwordPrefix.size());
    const qulonglong n = text.toULongLong(&ok, 16);
    if (!ok || text.isEmpty() || text.size() > 8 || n > 0xFFFFFFFFull) return std::nullopt;
    return static_cast<uint32_t>(n);
}

std::optional<std::string> SettingsStore::ReadString(const QString& key, const QString& name) const {
    const QString group = GroupOf(key);
    const QString actual = ActualValueName(group, name);
    if (actual.isEmpty()) return std::nullopt;
    const QVariant v = ini_->value(group + QLatin1Char('/') + actual);
    if (v.typeId() == QMetaType::QByteArray) return v.toByteArray().toStdString();
    // Text typed into the file by hand (not a number) is taken as it stands.
    if (v.typeId() == QMetaType::QString && !v.toString().startsWith(kDwordPrefix, Qt::CaseInsensitive))
        return v.toString().toUtf8().toStdString();
    return std::nullopt;
}

bool SettingsStore::WriteDword(const QString& key, const QString& name, uint32_t value) {
    if (!CreateOrOpen(key)) return false;
    const QString group = GroupOf(key);
    QString actual = ActualValueName(group, name);
    if (actual.isEmpty()) actual = name;
    ini_->setValue(group + QLatin1Char('/') + actual,
                   kDwordPrefix + QStringLiteral("%1").arg(value, 8, 16, QLatin1Char('0')));
    return Sync();
}

bool SettingsStore::WriteString(const QString& key, const QString& name, const std::string& bytes) {
    if (!CreateOrOpen(key)) return false;
    const QString group = GroupOf(key);
    QString actual = ActualValueName(group, name);
    if (actual.isEmpty()) actual = name;
    ini_->setValue(group + QLatin1Char('/') + actual, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    return Sync();
}

QStringList SettingsStore::Subkeys(const QString& key) const {
    ini_->beginGroup(GroupOf(key));
    const QStringList groups = ini_->childGroups();
    ini_->endGroup();
    QStringList names;
    for (const QString& g : groups) names << UnescapePart(g);
    return names;
}

std::optional<QString> SettingsStore::SubkeyAt(const QString& key, int index) const {
    if (!Exists(key)) return std::nullopt;
    const QStringList names = Subkeys(key);
    if (index < 0 || index >= names.size()) return std::nullopt;
    return names[index];
}

int SettingsStore::SubkeyCount(const QString& key) const { return Exists(key) ? static_cast<int>(Subkeys(key).size()) : 0; }

bool SettingsStore::DeleteSubkey(const QString& key, const QString& subkey) {
    ini_->remove(GroupOf(key + QLatin1Char('\\') + subkey));
    return Sync();
}

} // namespace zarv::settings
