#include "settings/settings_store.h"

#include <algorithm>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QSaveFile>
#include <QFileInfo>
#include <QStandardPaths>
#include <QUrl>

namespace zarv::settings {

namespace {
// The store's file is small (a few hundred bytes and a record per player);
// beyond this it is not a settings file of ours.
constexpr qint64 kMaxFileBytes = 64LL * 1024 * 1024;
// The first part of every section QSettings writes for the store's keys.
const QStringList kKnownSections = {QStringLiteral("Software"), QStringLiteral("General")};

// Copies a damaged file beside itself, named with the date and time.
QString KeepDamagedCopy(const QString& file) {
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    QString copy = file + QStringLiteral(".damaged-") + stamp;
    for (int n = 2; QFileInfo::exists(copy); ++n) copy = file + QStringLiteral(".damaged-%1-%2").arg(stamp).arg(n);
    return QFile::copy(file, copy) ? copy : QString();
}

// Marks a key that exists, even with no values. INI files drop empty groups.
const QString kKeyMarker = QStringLiteral(".key");
const QString kDwordPrefix = QStringLiteral("dword:");

// Key parts become group names: "/" and "\" must not split them, and names
// with any characters must survive the INI file.
bool KeptAsItIs(QChar c) {
    const char16_t u = c.unicode();
    return (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || (u >= '0' && u <= '9') || u == '-' || u == '.' ||
           u == '_' || u == '~' || u == ' ';
}
QString EscapePart(const QString& part) {
    // Most parts need no escaping at all: they are used as they are.
    if (std::all_of(part.begin(), part.end(), KeptAsItIs)) return part;
    return QString::fromLatin1(QUrl::toPercentEncoding(part, " "));
}
QString UnescapePart(const QString& group) { return QUrl::fromPercentEncoding(group.toLatin1()); }
} // namespace

SettingsStore::SettingsStore(const QString& iniFile, Durability durability)
    : file_(iniFile), atomic_(durability == Durability::Atomic) {
    Repair();
    ini_ = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
    ini_->setAtomicSyncRequired(atomic_);
    ini_->setFallbacksEnabled(false);
    if (ini_->status() != QSettings::NoError && damagedCopy_.isEmpty()) {
        // Damage the line check did not see: keep the file, start afresh.
        ini_.reset();
        damagedCopy_ = KeepDamagedCopy(file_);
        QFile::remove(file_);
        ini_ = std::make_unique<QSettings>(iniFile, QSettings::IniFormat);
        ini_->setAtomicSyncRequired(atomic_);
        ini_->setFallbacksEnabled(false);
    }
    BuildIndex();
}

void SettingsStore::Repair() {
    QFile file(file_);
    if (!QFileInfo(file_).isFile() || !file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)) return;
    // Only as much as the file holds (a read of the whole limit would set
    // aside, and clear, that much memory every time the store opens).
    const qint64 wanted = std::min<qint64>(file.size(), kMaxFileBytes) + 1;
    const QByteArray bytes = file.read(wanted);
    file.close();
    bool damaged = bytes.size() > kMaxFileBytes;
    // Each line in its section; a line that is no setting, or a section that
    // is none of the store's, is damage: what follows a stray section header
    // stays in the section before it.
    QByteArray clean;
    QByteArray section;
    std::map<QByteArray, QByteArray> sections;
    std::vector<QByteArray> order;
    // The INI reader ends a line at a CR as well as at an LF: so does this check.
    QByteArray text = bytes.left(kMaxFileBytes);
    text.replace('\r', '\n');
    for (const QByteArray& line : text.split('\n')) {
        const QByteArray trimmed = line.trimmed();
        if (trimmed.isEmpty() || trimmed.startsWith(';') || trimmed.startsWith('#')) continue;
        if (trimmed.startsWith('[')) {
            const QByteArray name = trimmed.mid(1, trimmed.size() - 2);
            // A section of the store's own keys: "[Software]", "[Software/Ombrel...]".
            const QString first = QString::fromLatin1(name).section(QLatin1Char('/'), 0, 0);
            if (trimmed.endsWith(']') && !name.contains('[') && !name.contains(']') && kKnownSections.contains(first)) {
                section = name;
                if (!sections.count(section)) order.push_back(section);
                sections[section];
            } else {
                damaged = true;
            }
            continue;
        }
        const qsizetype equals = line.indexOf('=');
        const QByteArray name = equals > 0 ? line.left(equals).trimmed() : QByteArray();
        // The store's own names are written escaped: a raw control character
        // (a NUL, say) is damage, which the INI reader would turn into
        // another name, or none.
        const bool controls = std::any_of(name.begin(), name.end(), [](char c) {
            return static_cast<unsigned char>(c) < 0x20 || c == 0x7f;
        });
        if (name.isEmpty() || controls || section.isEmpty()) {
            damaged = true;
            continue;
        }
        sections[section] += line + '\n';
    }
    if (!damaged) return;
    for (const QByteArray& name : order) clean += '[' + name + "]\n" + sections[name] + '\n';
    damagedCopy_ = KeepDamagedCopy(file_);
    QSaveFile out(file_);
    if (out.open(QIODevice::WriteOnly) && out.write(clean) == clean.size()) out.commit();
}

void SettingsStore::BuildIndex() {
    index_.clear();
    for (const QString& key : ini_->allKeys()) {
        const qsizetype slash = key.lastIndexOf(QLatin1Char('/'));
        Remember(slash < 0 ? QString() : key.left(slash), key.mid(slash + 1));
    }
}

void SettingsStore::Remember(const QString& group, const QString& name) {
    auto& names = index_[group].names;
    const QString lower = name.toLower();
    if (names.count(lower)) return;
    names[lower] = name;
    // Make the group known to its parents.
    QString child = group;
    while (!child.isEmpty()) {
        const qsizetype slash = child.lastIndexOf(QLatin1Char('/'));
        const QString parent = slash < 0 ? QString() : child.left(slash);
        const QString part = child.mid(slash + 1);
        Group& p = index_[parent];
        if (!p.known.insert(part).second) break;
        p.children << part;
        child = parent;
    }
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

SettingsStore::~SettingsStore() {
    if (ini_) ini_->sync();
}

bool SettingsStore::Sync() {
    if (!atomic_) return ini_->status() == QSettings::NoError;
    ini_->sync();
    return ini_->status() == QSettings::NoError;
}

bool SettingsStore::Exists(const QString& key) const {
    // A key exists with its marker, or with anything in it (a marker lost to a
    // hand edit or a damaged file does not hide what is there).
    const auto it = index_.find(GroupOf(key));
    return it != index_.end() && (!it->second.names.empty() || !it->second.children.isEmpty());
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
        Remember(GroupOf(path), kKeyMarker);
    }
    return Sync();
}

QString SettingsStore::ActualValueName(const QString& group, const QString& name) const {
    const auto it = index_.find(group);
    if (it == index_.end() || name.compare(kKeyMarker, Qt::CaseInsensitive) == 0) return {};
    const auto found = it->second.names.find(name.toLower());
    return found == it->second.names.end() ? QString() : found->second;
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
    Remember(group, actual);
    return Sync();
}

bool SettingsStore::WriteString(const QString& key, const QString& name, const std::string& bytes) {
    if (!CreateOrOpen(key)) return false;
    const QString group = GroupOf(key);
    QString actual = ActualValueName(group, name);
    if (actual.isEmpty()) actual = name;
    ini_->setValue(group + QLatin1Char('/') + actual, QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())));
    Remember(group, actual);
    return Sync();
}

QStringList SettingsStore::Subkeys(const QString& key) const {
    QStringList names;
    const auto it = index_.find(GroupOf(key));
    if (it == index_.end()) return names;
    for (const QString& g : it->second.children) names << UnescapePart(g);
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
    const bool ok = Sync();
    BuildIndex();
    return ok;
}

bool SettingsStore::DeleteAllSubkeys(const QString& key) {
    // The key goes as a whole and its own values come back: one pass over the
    // store instead of one for each subkey.
    const QString group = GroupOf(key);
    std::vector<std::pair<QString, QVariant>> own;
    if (const auto it = index_.find(group); it != index_.end())
        for (const auto& [lower, name] : it->second.names) own.emplace_back(name, ini_->value(group + QLatin1Char('/') + name));
    ini_->remove(group);
    for (const auto& [name, value] : own) ini_->setValue(group + QLatin1Char('/') + name, value);
    const bool ok = Sync();
    BuildIndex();
    return ok;
}

} // namespace zarv::settings
