// A small hierarchical store of DWORD and string values, in the shape of the
// Windows registry the game's settings were laid out for: keys hold values and
// subkeys; value names are compared without regard to case.
//
// It lives in a QSettings INI file. Every write is synced at once; QSettings
// writes through a temporary file and renames it, so a crash never leaves a
// half-written file behind. A damaged file (a line that is no setting, a stray
// section) is read as far as it can be: a copy of it is kept beside it, and a
// clean file with everything that could be read takes its place.
#pragma once

#include <QSettings>
#include <QString>
#include <QStringList>
#include <cstdint>
#include <map>
#include <set>
#include <memory>
#include <optional>
#include <string>

namespace zarv::settings {

class SettingsStore {
public:
    // How writes reach the file. Atomic: at once, each through a new file
    // beside it that is forced to the disk and renamed over the old one (a
    // crash leaves the old or the new file, never half of one). Deferred: all
    // at once when the store closes, rewriting the file in place; a failed
    // write is not reported. Many times faster, for tools that try thousands
    // of throw-away files.
    enum class Durability { Atomic, Deferred };
    // The store in the given INI file; tests point it at a temporary file.
    explicit SettingsStore(const QString& iniFile, Durability durability = Durability::Atomic);
    ~SettingsStore();
    // The program's own store in the user's configuration folder.
    static QString DefaultLocation();

    const QString& fileName() const { return file_; }
    // Where the copy of a damaged file was kept when the store opened, or empty.
    const QString& damagedCopy() const { return damagedCopy_; }

    // Creates the key if missing; *created tells which happened. Keys are
    // written as paths with "\" between the parts. Returns false if the key
    // cannot be used (the file cannot be written).
    bool CreateOrOpen(const QString& key, bool* created = nullptr);
    bool Exists(const QString& key) const;

    std::optional<uint32_t> ReadDword(const QString& key, const QString& name) const;
    std::optional<std::string> ReadString(const QString& key, const QString& name) const;
    bool WriteDword(const QString& key, const QString& name, uint32_t value);
    bool WriteString(const QString& key, const QString& name, const std::string& bytes);

    // Every subkey's name, in the order the store keeps them.
    QStringList Subkeys(const QString& key) const;
    // Subkeys in the order the store keeps them; empty when index is past the end.
    std::optional<QString> SubkeyAt(const QString& key, int index) const;
    int SubkeyCount(const QString& key) const;
    bool DeleteSubkey(const QString& key, const QString& subkey);
    // Deletes every subkey of the key, writing the file once.
    bool DeleteAllSubkeys(const QString& key);

    // What a key path looks like in the INI file (each part escaped).
    static QString GroupOf(const QString& key);

private:
    // What the file holds, by group: the value names (found without regard to
    // case) and the subgroups in the file's order. Built once and kept up to
    // date, so that looking up a value does not go through every key.
    struct Group {
        std::map<QString, QString> names;  // lower case -> as written
        QStringList children;              // escaped, in order
        std::set<QString> known;           // the same, to look up
    };
    void BuildIndex();
    void Remember(const QString& group, const QString& name);
    void Repair();
    QString ActualValueName(const QString& group, const QString& name) const;
    bool Sync();

    QString file_;
    QString damagedCopy_;
    bool atomic_ = true;
    std::unique_ptr<QSettings> ini_;
    std::map<QString, Group> index_;
};

} // namespace zarv::settings
