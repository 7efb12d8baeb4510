#pragma once
// Reader and writer of the section/key/value text files behind every data and
// settings file. Names are case-insensitive (the written case is kept for
// saving); values are case-sensitive and kept exactly as read.

#include "framework/StringUtil.h"

#include <SFML/Graphics/Color.hpp>
#include <SFML/Graphics/Rect.hpp>
#include <SFML/System/Vector2.hpp>

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

namespace orv {

struct IniEntry {
    std::uint32_t order = 0; ///< the section's key count when it was stored
    std::string name;        ///< as written
    std::string value;       ///< as read, without quotes
};

struct IniSection {
    std::uint32_t order = 0; ///< number of sections that existed when it was made
    std::string name;        ///< as first written
    std::string comment;     ///< only ever set by writers
    std::unordered_map<std::string, IniEntry, Fnv1aHash> keys; ///< by lower-cased name
};

class IniFile {
public:
    /// Adds the file's sections and keys to what is held (a UTF-8 byte-order
    /// mark is skipped). False, with lastError, when it cannot be read.
    bool load(const std::string& path);
    /// Writes every section in creation order, through a fresh temporary file
    /// renamed over the target; a symbolic link is written through to its
    /// target. False, with lastError and a log line, when the file cannot be
    /// written or is read-only; the existing file is then left untouched.
    bool save(const std::string& path);
    /// Validates the "info" (or "id") section's id and version.
    bool checkHeader(const std::string& expectedId);
    /// Forgets everything and restores the default switches.
    void clear();

    /// Makes the named section current, creating it when absent.
    void setSection(const std::string& name);
    /// Makes the named section current when the file holds it; otherwise no
    /// section is current, so every getter gives its default, and nothing is
    /// created. True when the section exists.
    bool selectSection(const std::string& name);
    /// Lower-cased key names of the current section, in hash-map order.
    std::vector<std::string> getKeys() const;
    /// Lower-cased names of every section, in hash-map order.
    std::vector<std::string> getSectionNames() const;
    /// Every n below `below` for which a section named base + n (decimal, no
    /// leading zeros) exists, ascending.
    std::vector<int> numberedSections(const std::string& base, int below) const;
    /// The same for keys base + n of the current section.
    std::vector<int> numberedKeys(const std::string& base, int below) const;
    /// Comment written above the current section's keys.
    void setSectionComment(const std::string& text);

    std::string getValue(const std::string& key) const;
    std::string getString(const std::string& key, const std::string& def) const;
    int getInt(const std::string& key, int def) const;
    float getFloat(const std::string& key, float def) const;
    bool getBool(const std::string& key, bool def) const;
    /// "r,g,b[,a]", "#rrggbb[aa]", key.r/.g/.b[/.a], or (with colorReferences)
    /// the name of a colour key read earlier.
    sf::Color getColor(const std::string& key, const sf::Color& def);
    sf::Vector2f getVector2f(const std::string& key, const sf::Vector2f& def) const;
    sf::Vector2i getVector2i(const std::string& key, const sf::Vector2i& def) const;
    sf::IntRect getIntRect(const std::string& key, const sf::IntRect& def) const;
    sf::FloatRect getFloatRect(const std::string& key, const sf::FloatRect& def) const;

    void setValue(const std::string& key, const std::string& value);
    void setString(const std::string& key, const std::string& value);
    void setInt(const std::string& key, int value);
    void setFloat(const std::string& key, float value);
    void setBool(const std::string& key, bool value);
    void setVector2i(const std::string& key, const sf::Vector2i& value);
    void setIntRect(const std::string& key, const sf::IntRect& value);

    std::string lastError;
    std::string fileName;
    bool mergeSections = true;
    bool colorReferences = false;

private:
    void storeEntry(const std::string& key, const std::string& value);
    void parseLine(const std::string& line);
    /// One warning line naming the file, section and key of a bad value.
    void warnBadValue(const std::string& key, const std::string& value, const char* what) const;
    /// The key's `count` comma-separated numbers; false (and a warning when
    /// a number is bad) unless all are usable.
    bool floatsOf(const std::string& key, std::size_t count, float* out) const;
    bool intsOf(const std::string& key, std::size_t count, int* out) const;

    mutable int badValueWarnings_ = 0;

    std::unordered_map<std::string, IniSection, Fnv1aHash> sections_;
    IniSection* current_ = nullptr;
    std::unordered_map<std::string, sf::Color> colorCache_;
    bool pending_ = false;
    std::string pendingKey_;
    std::string pendingValue_;
};

} // namespace orv
