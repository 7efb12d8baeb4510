#pragma once
// A list a file sizes by a count it declares, its entries in sections (or
// keys) numbered from 0: "[gear0]", "[gear1]" ... An entry the file lacks
// still takes its place with the defaults, so no later number moves; what the
// file holds past the count is not read. Counts no real file reaches are cut
// to a cap before anything is allocated for them.

#include <cstddef>
#include <initializer_list>
#include <string>
#include <vector>

namespace orv {

class IniFile;

struct NumberedList {
    int declared = 0;         ///< the count as the file gives it
    int count = 0;            ///< entries to make: declared, 0 when negative, at most the cap
    std::vector<int> present; ///< numbers below count the file holds, ascending
    std::vector<int> beyond;  ///< numbers at or past count the file holds, ascending

    bool capped() const { return declared > count; }
    /// How many numbers below count the file lacks.
    std::size_t missingCount() const { return static_cast<std::size_t>(count) - present.size(); }
    /// The first `atMost` of them, ascending.
    std::vector<int> missing(std::size_t atMost) const;
};

/// The list of sections base + n of a file that declares `declared` of them.
NumberedList numberedSections(const IniFile& ini, const std::string& base, int declared, int cap);
/// The same for keys base + n of the file's current section.
NumberedList numberedKeys(const IniFile& ini, const std::string& base, int declared, int cap);

/// True when the file holds any section of `names`, or a section base + n of
/// any of `bases`: whether it is the kind of file a loader expects at all.
bool holdsAnySection(const IniFile& ini, std::initializer_list<const char*> names,
                     std::initializer_list<const char*> bases);

/// The warnings of one list read from `file`: a count past the cap, the
/// sections the count names that the file lacks (`missingOne` and
/// `missingMany` say what such entries become: "that image is empty", "those
/// images are empty"), and the sections past the count.
void warnAboutSections(const std::string& file, const std::string& countKey, const std::string& base,
                       const NumberedList& list, const char* missingOne, const char* missingMany);

/// Names for one log line: the first few in full, then how many more.
class NameList {
public:
    static constexpr std::size_t shown = 8;

    void add(const std::string& name);
    /// prefix + n + suffix for each number; `total` also counts numbers not
    /// passed (a list of the first few of many).
    void add(const std::string& prefix, const std::vector<int>& numbers, const std::string& suffix,
             std::size_t total);
    void add(const std::string& prefix, const std::vector<int>& numbers, const std::string& suffix)
    {
        add(prefix, numbers, suffix, numbers.size());
    }
    /// The missing entries of a list, as "[base2]"-style section names.
    void addMissingSections(const std::string& base, const NumberedList& list);
    /// The entries a list holds past its count.
    void addBeyondSections(const std::string& base, const NumberedList& list);

    bool empty() const { return total_ == 0; }
    /// "[gear3], [gear4] and 12 more"
    std::string text() const;
    /// The names after `noun`, made plural for more than one: "sections [gear3], [gear4]".
    std::string named(const std::string& noun) const { return noun + (total_ > 1 ? "s " : " ") + text(); }
    /// The verb that follows: `one` for a single name, else `many`.
    const char* verb(const char* one, const char* many) const { return total_ > 1 ? many : one; }

private:
    std::vector<std::string> names_;
    std::size_t total_ = 0;
};

} // namespace orv
